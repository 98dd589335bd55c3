; Language: 
; Author: 
; Version: 

1="a"
2="b"
