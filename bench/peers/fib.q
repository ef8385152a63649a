print(fib(22))
