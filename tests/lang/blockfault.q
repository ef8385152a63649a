print('this never runs')
while(1)
print('x')
