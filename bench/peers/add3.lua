function add3(a, b, c) return a + b + c end
s = 0
for i = 1, 2000000 do s = add3(s, i, 1) end
print(s)
