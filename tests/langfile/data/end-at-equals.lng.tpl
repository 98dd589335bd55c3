; Language: 
; Author: 
; Version: 

1="a"
