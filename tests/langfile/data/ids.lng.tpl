; Language: 
; Author: 
; Version: 

0="zero"
3="c"
5="first"
5="second"
7="b"
12="twelve"
65535="limit"
4000000000=""
4294967295="max"
4294967295="too large"
4294967295="far too large"
