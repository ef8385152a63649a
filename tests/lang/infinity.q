setstr(s,'INF')
print(getstr(s)+1)
print(getstr(s)*2)
print(getstr(s)-1e308)
print(getstr(s)>1e308)
n:=0
for(i:=1:getstr(s))
n:=n+1
  if(i>=3)
    break
  end
end
print(n' 'i)
for(i:=getstr(s):1)
k:=i+1
m:=i*i
  break
end
print(k' 'm)
setstr(s,'-INF')
print(getstr(s)-1)
print(getstr(s)*2)
print(1e308*10)
