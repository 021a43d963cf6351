; Settings of the bar. Each section is a page of the settings dialog, each
; key a row of it: FieldType, DefaultValue, FieldWidth (and FileExt for files).
; An item whose value holds blanks must be quoted whole: "DefaultValue=two words".
[Interfaccia]
Lingua=FieldType=FIXEDCHOICE,DefaultValue=Italiano,FieldWidth=150
AutoStart=FieldType=BOOL,DefaultValue=FALSE

[Pannello]
AlwaysOnTop=FieldType=BOOL,DefaultValue=FALSE
AutoHide=FieldType=BOOL,DefaultValue=FALSE
Animate=FieldType=BOOL,DefaultValue=TRUE
ShowBevel=FieldType=BOOL,DefaultValue=TRUE
FixedBorder=FieldType=BOOL,DefaultValue=TRUE
GlassPanel=FieldType=BOOL,DefaultValue=FALSE
Borderless=FieldType=BOOL,DefaultValue=FALSE
DrawBackground=FieldType=BOOL,DefaultValue=FALSE
BackgroundColor=FieldType=COLOR,DefaultValue=-2147483633,FieldWidth=150
BackgroundImage=FieldType=FILE,FileExt=bmp,FieldWidth=300
CustomMargins=FieldType=BOOL,DefaultValue=FALSE
MarginWidth=FieldType=INTEGER,DefaultValue=2,FieldWidth=60
MarginHeight=FieldType=INTEGER,DefaultValue=2,FieldWidth=60

[Pulsanti]
HideLinkExt=FieldType=INTEGER,DefaultValue=1,FieldWidth=60
BarHotkey=FieldType=STRING,FieldWidth=150
LaunchOrSwitch=FieldType=BOOL,DefaultValue=TRUE
ShowRunning=FieldType=BOOL,DefaultValue=FALSE

[Generale]
FolderSource=FieldType=DIRECTORY,FieldWidth=300
WatchFolder=FieldType=BOOL,DefaultValue=TRUE

[Avvio]
UserDir=FieldType=CHOICE,DefaultValue=<UserAppData>,FieldWidth=300
