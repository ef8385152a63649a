for(i:=0:1999999)
a[i]:=i
end
s:=0
for(i:=0:1999999)
s:=s+a[i]
end
print(s)
