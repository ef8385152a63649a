m = {}
for i = 0, 149 do
  mi = {}
  m[i] = mi
  for j = 0, 149 do
    mij = {}
    mi[j] = mij
    for k = 0, 149 do mij[k] = i + j + k end
  end
end
s = 0
for i = 0, 149 do for j = 0, 149 do for k = 0, 149 do s = s + m[i][j][k] end end end
print(s)
