k:=0
for(i:=1:1000)
k:=inc(k)
end
print(k)
