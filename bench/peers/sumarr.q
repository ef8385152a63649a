for(j:=0:999)
v[j]:=j
end
s:=0
for(i:=1:10000)
s:=s+sumarr(v,1000)
end
print(s)
