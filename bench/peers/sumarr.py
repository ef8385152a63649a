def sumarr(a, n):
    r = 0
    for j in range(n):
        r = r + a[j]
    return r
v = list(range(1000))
s = 0
for i in range(10000):
    s = s + sumarr(v, 1000)
print(s)
