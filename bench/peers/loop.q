s:=0
for(i:=1:1000000)
s:=s+i
end
print(s)
