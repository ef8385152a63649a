a[2]:=5
a[-1]:=3
print('negative offsets store nothing: 'len(a))
a[3e9]:=1
