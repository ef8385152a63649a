s = ''
for i = 1, 60000 do s = s .. 'x' end
print(#s)
