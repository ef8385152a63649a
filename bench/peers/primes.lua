c = 0
for n = 2, 50000 do
  p = 1
  d = 2
  while d * d <= n do
    if n / d % 1 == 0 then p = 0 break end
    d = d + 1
  end
  c = c + p
end
print(c)
