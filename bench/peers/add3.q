s:=0
for(i:=1:2000000)
s:=add3(s,i,1)
end
print(s)
