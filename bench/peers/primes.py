c = 0
for n in range(2, 50001):
    p = 1
    d = 2
    while d * d <= n:
        if (n / d) % 1 == 0:
            p = 0
            break
        d = d + 1
    c = c + p
print(c)
