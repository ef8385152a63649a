a = {}
for i = 0, 1999999 do a[i] = i end
s = 0
for i = 0, 1999999 do s = s + a[i] end
print(s)
