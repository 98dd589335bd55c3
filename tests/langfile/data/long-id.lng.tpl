; Language: 
; Author: 
; Version: 

0="b"
0="c"
9="d"
12345="a"
