; Language: 
; Author: 
; Version: 

0="c"
0="c"
1="a\nb\tc\"d\\e\rf'gqh"
2="\"x\""
3="a"
4="a b=c\td"
5="a"
6="ab"
7="cd"
8="a\tb\\nc\rd;e=f g'ÈÅ"
