' Errors a script sees through On Error Resume Next.
Dim c, h
Set c = CreateObject("VantiqCtl.Vantiq")
On Error Resume Next

c.hwnd = 5
Check "hwnd set Err.Number", Err.Number, 387
Check "hwnd set Err.Source", Err.Source, "VantiqCtl.Vantiq"
Check "hwnd set Err.Description", Err.Description, "Set not permitted"
Err.Clear

' At run time, without a window, the handle reads as 0.
h = c.hwnd
Check "hwnd get Err.Number", Err.Number, 0
Check "hwnd get", h, 0
Err.Clear

c.AlternateForeColor = &H05000000
Check "colour of no kind Err.Number", Err.Number, &H80070057
Check "colour of no kind kept", c.AlternateForeColor, &H8000000E
Err.Clear

' Pictures are objects: only Set assigns them.
c.ProgressPicture = Nothing
Check "picture without Set Err.Number", Err.Number, 438
Err.Clear

' Values the control ignores or clamps raise nothing.
c.TextAlignment = 7
Check "alignment 7 Err.Number", Err.Number, 0
c.ShadowIntensity = 1000
Check "intensity 1000 Err.Number", Err.Number, 0
c.value = -1E300
Check "huge value Err.Number", Err.Number, 0
Check "huge value clamped", c.value, 0
On Error GoTo 0
