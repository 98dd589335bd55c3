; Language: 
; Author: 
; Version: 

1="a"
2="b;c"
3="d;e"
4="z"
