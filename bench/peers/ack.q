s:=0
for(i:=1:3)
s:=s+ack(2,900)
end
print(s)
