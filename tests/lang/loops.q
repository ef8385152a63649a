for(i:=1:3)
  print('i='i)
end
print('after: 'i)
for(i:=1:0.5:2)
  print(i)
end
for(i:=3:-1:1)
  print(i)
end
print('down to 'i)
for(i:=2:2)
  print('once 'i)
end
print(i)
n:=0
for(i:=1:-1:3)
n:=n+1
  if(n>4)
    break
  end
end
print('broke at 'i' after 'n)
k:=0
while(k<10)
k:=k+1
  if(k=3)
    break
  end
end
print('while ended at 'k)
if(0.99)
  print('not here')
else
  print('0.99 is false')
end
if(2)
  print('2 is true')
end
c:=1
d:=0
if(c)
  if(d)
    print('inner then')
  else
    print('inner else')
  end
else
  print('outer else')
end
if(0)
  print('no')
else if(1)
  print('plain else runs, its text ignored')
end
if(1) print('never')
end
print('done')
