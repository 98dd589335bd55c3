; Language: 
; Author: 
; Version: 

3="﻿"
