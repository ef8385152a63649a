s = ''
for i in range(60000):
    s = s + 'x'
print(len(s))
