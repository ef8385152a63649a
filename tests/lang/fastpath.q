k:=0
for(i:=1:3)
k:=k+twice(i)
if(i=2)
load('fastreplace.txt')
end
end
print('after the unit was replaced mid-loop: 'k)
a:=5
delvar(a)
a
a:=7
print('a again: 'a)
vvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvxxxx:=4
print('cut name: 'vvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvyyyy)
for(j:=1:3)
setstr(t,'j*'j)
print(val(''getstr(t)))
end
b[2]:=1
for(j:=0:2)
b[j]:=b[j]+j
end
cleararr(b)
print('b after cleararr: 'len(b)' 'b[0])
c:=1
c:=c:=c+1
print('c='c)
if(0.9999999999999999)
print('a condition read through its text')
end
