function sumarr(a, n)
  local r = 0
  for j = 0, n - 1 do r = r + a[j] end
  return r
end
local v = {}
for j = 0, 999 do v[j] = j end
s = 0
for i = 1, 10000 do s = s + sumarr(v, 1000) end
print(s)
