m = [[[0] * 150 for j in range(150)] for i in range(150)]
for i in range(150):
    for j in range(150):
        for k in range(150):
            m[i][j][k] = i + j + k
s = 0
for i in range(150):
    for j in range(150):
        for k in range(150):
            s = s + m[i][j][k]
print(s)
