; Language: 
; Author: 
; Version: 

0="00"
0="x"
0="Again"
0="c"
0="g"
7="x"
8=""
9="a"
10="b"
11="c"
12="a"
13="b"
100="Hello"
200="A B"
300="Hello"
500="a"
600="abc d"
