d[0]:=3;d[1]:=3
redim(m,d)
m[1,2]:=5
print(m[1,2])
print(m[1,delvar(m)+1])
print(len(m))
redim(m,d)
m[0,1]:=7
x:=m[0,delvar(m)]
print(x)
v[3]:=0
v[2]:=4
v[delvar(v)+1]:=9
print(v[2]' 'len(v))
