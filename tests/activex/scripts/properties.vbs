' Values written by a script are stored, clamped or ignored as the control decides.
Dim c
Set c = CreateObject("VantiqCtl.Vantiq")

c.Orientation = 1 : Check "Orientation", c.Orientation, 1
c.Scrolling = 7 : Check "Scrolling out of range", c.Scrolling, 7
c.ShowCaption = False : Check "ShowCaption", c.ShowCaption, False
c.Caption = "Copying files" : Check "Caption", c.Caption, "Copying files"

' Colours keep all 32 bits, system colour references included.
c.ForeColor = &HFF : Check "ForeColor", c.ForeColor, &HFF
c.BackColor = &H8000000D : Check "BackColor", c.BackColor, &H8000000D
c.ProgressColor = RGB(0, 128, 255) : Check "ProgressColor", c.ProgressColor, RGB(0, 128, 255)
' Translated when set: a system colour reads back as an RGB value.
c.AlternateForeColor = &H8000000D
Check "AlternateForeColor translated", (c.AlternateForeColor And &HFF000000), 0

c.TextAlignment = 3 : Check "TextAlignment 3 ignored", c.TextAlignment, 2
c.ShadowIntensity = 300 : Check "ShadowIntensity clamped", c.ShadowIntensity, 255
c.PercentFormat = "0.0%" : Check "PercentFormat", c.PercentFormat, "0.0"
c.MousePointer = 70000 : Check "MousePointer low 16 bits", c.MousePointer, 4464

c.value = 50
c.Min = 60 : Check "value follows Min", c.value, 60
c.Max = 40 : Check "value follows Max", c.value, 40
c.value = 70 : Check "above Max", c.value, 40
c.Min = 0 : c.Max = 100
c.value = "42" : Check "value from text", c.value, 42
