' The font and pictures are shared objects, not copies.
Dim c, f, p
Set c = CreateObject("VantiqCtl.Vantiq")

Check "Font Is Font", c.Font Is c.Font, True
c.Font.Bold = True
Check "Font change kept", c.Font.Bold, True

Set f = CreateObject("StdFont")
f.Name = "Tahoma"
f.Bold = True
Set c.Font = f
Check "Set Font", c.Font Is f, True
Check "Font bold", c.Font.Bold, True
f.Italic = True
Check "Font change seen", c.Font.Italic, True
Set c.Font = Nothing
Check "Nothing keeps Font", c.Font Is f, True

Set p = CreateObject("StdPicture")
Set c.ProgressPicture = p
Check "Set ProgressPicture", c.ProgressPicture Is p, True
Set c.BackgroundPicture = p
Check "Set BackgroundPicture", c.BackgroundPicture Is p, True
Set c.MouseIcon = p
Check "Set MouseIcon", c.MouseIcon Is p, True
Set c.ProgressPicture = Nothing
Check "ProgressPicture Nothing", c.ProgressPicture Is Nothing, True
Check "BackgroundPicture kept", c.BackgroundPicture Is p, True
