s:=0
for(i:=1:4)
s:=s+i
t:=s*2
u:=t-i
end
print('sums: 's' 't' 'u)
n:=0
while(n<3)
n:=n+1
m:=n*n
end
print('while: 'n' 'm)
for(i:=1:3)
w:=i
delvar(w)
w:=w+1
end
print('w after delvar in the body: 'w)
for(i:=1:2)
new:=i
x:=new+1
end
print('made in the body: 'new' 'x)
q:=1
for(i:=1:3)
q:=q*1e200
print('q at 'i)
end
print('q: 'q)
k:=0
for(i:=1:5)
k:=k+1
z:=k/(3-i)
y:=ln(3-i)+k
print('pass 'i' z='z' y='y)
end
print('never')
