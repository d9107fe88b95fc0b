' A control created by ProgID hands a script its values in types the script can use, and
' value is its default member. (The values themselves are checked through IDispatch.)
Dim c, v
Set c = CreateObject("VantiqCtl.Vantiq")

CheckType "value", c.value, "Double"
CheckType "Enabled", c.Enabled, "Boolean"
CheckType "style", c.style, "Long"
CheckType "BackColor", c.BackColor, "Long"
CheckType "Caption", c.Caption, "String"
CheckType "Font", c.Font, "Font"
Check "ProgressPicture Is Nothing", c.ProgressPicture Is Nothing, True
Check "Font.Size", c.Font.Size, 8.25

c.value = 12
v = c
Check "default member", v, 12
