' A control created by ProgID starts as a new control, in types a script can use.
Dim c, v
Set c = CreateObject("VantiqCtl.Vantiq")

Check "TextAlignment", c.TextAlignment, 2
Check "Max", c.Max, 100
Check "Enabled", c.Enabled, True
Check "Shadow", c.Shadow, False
Check "PercentFormat", c.PercentFormat, "#0"
Check "style", c.style, 4
Check "BackColor", c.BackColor, &H8000000F
Check "AlternateForeColor", c.AlternateForeColor, &H8000000E
Check "ShadowIntensity", c.ShadowIntensity, 128
Check "ProgressPicture", c.ProgressPicture Is Nothing, True
Check "Font.Name", c.Font.Name, "Tahoma"
Check "Font.Size", c.Font.Size, 8.25

CheckType "value", c.value, "Double"
CheckType "Enabled", c.Enabled, "Boolean"
CheckType "style", c.style, "Long"
CheckType "BackColor", c.BackColor, "Long"
CheckType "Caption", c.Caption, "String"
CheckType "Font", c.Font, "Font"

' The default member is value.
v = c
Check "default member", v, 0
