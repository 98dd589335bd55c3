; Language: 
; Author: 
; Version: 

1="x"
