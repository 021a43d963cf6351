[Numeri]
Intero=FieldType=INTEGER,DefaultValue=$1F,FieldWidth=60
Negativo=FieldType=INT,DefaultValue=-2147483648
Reale=FieldType=FLOAT,DefaultValue=1.5E-7
Colore=FieldType=COLOR,DefaultValue=0x00FF00
[Testi]
Nome=FieldType=STRING,"DefaultValue=due parole",FieldWidth=200
Citato=FieldType=STRING,"DefaultValue=a ""b"" c",
Segreto=FieldType=CRYPTEDSTRING
Cartella=FieldType=DIRECTORY,DefaultValue=C:\Dati
File=FieldType=FILE,FileExt=*.exe
[Scelte]
Lato=FieldType=FIXEDCHOICE,DefaultValue=Sopra
Indice=FieldType=CHOICEINDEX,DefaultValue=2
Vero=FieldType=bool,DefaultValue=true
Ora=FieldType=TIME,DefaultValue=12
Data=FieldType=DATE
