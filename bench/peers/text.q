setstr(s,'x')
for(i:=2:100000)
setstr(s,getstr(s)'x')
end
print(len(s))
