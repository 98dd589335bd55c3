; Language: 
; Author: 
; Version: 

3="Grья А"
