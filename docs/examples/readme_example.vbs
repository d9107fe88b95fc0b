' The README's script: creates the control without a window, sets it up and reads it
' back. cscript //nologo readme_example.vbs prints "200 0.0 255 2" and "387".
Set bar = CreateObject("VantiqCtl.Vantiq")
bar.Max = 200
bar.Value = 250                 ' clamped to Max
bar.PercentFormat = "0.0%"      ' the control adds "%" itself: stored as 0.0
bar.ShadowIntensity = 300       ' clamped to 255
bar.TextAlignment = 7           ' not an alignment: ignored
WScript.Echo bar.Value & " " & bar.PercentFormat & " " & bar.ShadowIntensity & " " & bar.TextAlignment
On Error Resume Next
h = bar.hwnd                    ' fine at run time
bar.hwnd = 1                    ' read-only: run-time error 387
WScript.Echo Err.Number
