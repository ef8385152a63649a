a = [0] * 2000000
for i in range(0, 2000000):
    a[i] = i
s = 0
for i in range(0, 2000000):
    s = s + a[i]
print(s)
