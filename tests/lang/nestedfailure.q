print('start')
for(i:=1:2)
k:=0
while(k<1)
k:=ln(0)
end
end
print('never printed')
