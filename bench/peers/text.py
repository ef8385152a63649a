s = ''
for i in range(100000):
    s = s + 'x'
print(len(s))
