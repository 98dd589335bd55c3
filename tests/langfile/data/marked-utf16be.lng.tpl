; Language: 
; Author: 
; Version: 

