a[5]:=1
print(a)
print(len(a))
print(a[5]' 'a[0])
print(a[7])
d[0]:=2;d[1]:=3
redim(m,d)
print(len(m))
sz:=5
redim(one,sz)
print('no sizes: 'len(one)' element')
m[1,2]:=9
print(m[5])
print(m[1,-1])
getdim(m,g)
print(g[0]' 'g[1])
x:=1
print(x[0,0])
print(m[0,-1])
cleararr(m)
print(len(m))
m[2,0]:=1
redim(m,d)
m[2,0]:=1
print('not reached')
