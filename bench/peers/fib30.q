print(fib(30))
