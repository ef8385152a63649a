def add3(a, b, c):
    return a + b + c
s = 0
for i in range(1, 2000001):
    s = add3(s, i, 1)
print(s)
