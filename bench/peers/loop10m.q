s:=0
for(i:=1:10000000)
s:=s+i
end
print(s)
