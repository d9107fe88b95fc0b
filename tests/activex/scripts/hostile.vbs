' A page's script is untrusted: extreme numbers, values of the wrong type, huge strings
' and objects of the wrong kind. Only the automation layer's errors for an argument it
' cannot convert (13 type mismatch, 6 overflow, 430 an object without the interface the
' property takes, 458 an empty object as a value, 438 a property assigned the wrong
' way), 387 for hwnd and E_INVALIDARG for a colour of no kind may come back; the control
' keeps its previous value and stays usable.
Dim c, d, big, f, p
Set c = CreateObject("VantiqCtl.Vantiq")
On Error Resume Next

Sub ErrIs(what, expected)
  Check what & " Err.Number", Err.Number, expected
  Err.Clear
End Sub

' Extreme doubles clamp into the range; Min and Max take them as they are.
c.Value = 1E308
ErrIs "Value 1E308", 0
Check "Value 1E308 clamped", c.Value, 100
c.Value = -1E308
ErrIs "Value -1E308", 0
Check "Value -1E308 clamped", c.Value, 0
c.Max = 1E308
ErrIs "Max 1E308", 0
Check "Max 1E308", c.Max, 1E308
c.Min = -1E308
ErrIs "Min -1E308", 0
c.Value = 1E307
Check "Value 1E307 within", c.Value, 1E307
c.Max = 100
c.Min = 0
Check "Max 100 clamps", c.Value, 100

' 32-bit properties: the extremes of a Long, and beyond it an overflow that changes nothing.
c.ShadowIntensity = -2147483648
ErrIs "ShadowIntensity -2^31", 0
Check "ShadowIntensity -2^31 clamped", c.ShadowIntensity, 0
c.ShadowIntensity = 2147483647
ErrIs "ShadowIntensity 2^31-1", 0
Check "ShadowIntensity 2^31-1 clamped", c.ShadowIntensity, 255
c.ShadowIntensity = 2147483648
ErrIs "ShadowIntensity 2^31", 6
Check "ShadowIntensity 2^31 kept", c.ShadowIntensity, 255
c.ShadowIntensity = -1E308
ErrIs "ShadowIntensity -1E308", 6
c.Orientation = 2147483647
ErrIs "Orientation 2^31-1", 0
Check "Orientation 2^31-1", c.Orientation, 2147483647
c.Orientation = 0
c.Scrolling = -2147483648
ErrIs "Scrolling -2^31", 0
Check "Scrolling -2^31", c.Scrolling, -2147483648
c.Scrolling = 0
c.Style = 1E20
ErrIs "Style 1E20", 6
Check "Style kept", c.Style, 4
c.Style = -7
ErrIs "Style -7", 0
Check "Style -7", c.Style, -7
c.Style = 0
c.TextAlignment = -2147483648
ErrIs "TextAlignment -2^31", 0
Check "TextAlignment -2^31 ignored", c.TextAlignment, 2
c.MousePointer = 2147483647
ErrIs "MousePointer 2^31-1", 0
c.MousePointer = 0
c.ForeColor = 4294967296
ErrIs "ForeColor 2^32", 6
' A colour written as a 16-bit integer keeps its sign as a 32-bit one does.
c.BackColor = -1
ErrIs "BackColor -1", 0
Check "BackColor -1 bits", c.BackColor, -1
c.ForeColor = &HFF
Check "ForeColor &HFF", c.ForeColor, 255
c.BackColor = &H8000000F
c.AlternateForeColor = -1
ErrIs "AlternateForeColor -1", &H80070057
Check "AlternateForeColor kept", c.AlternateForeColor, &H8000000E

' Text where numbers belong, numbers and Booleans where text belongs.
c.Value = 40
c.Value = "abc"
ErrIs "Value text", 13
Check "Value kept after text", c.Value, 40
c.Value = "25"
ErrIs "Value numeric text", 0
Check "Value numeric text", c.Value, 25
c.Max = ""
ErrIs "Max empty text", 13
Check "Max kept", c.Max, 100
c.ShadowIntensity = "lots"
ErrIs "ShadowIntensity text", 13
c.ShowCaption = "maybe"
ErrIs "ShowCaption text", 13
Check "ShowCaption kept", c.ShowCaption, True
c.Caption = 12345
ErrIs "Caption number", 0
Check "Caption number", c.Caption, "12345"
c.PercentFormat = True
ErrIs "PercentFormat Boolean", 0
Check "PercentFormat Boolean", c.PercentFormat, "-1"
c.PercentFormat = "#0"

' Empty reads as zero or "", Null converts to nothing, arrays to nothing.
c.Value = Empty
ErrIs "Value Empty", 0
Check "Value Empty", c.Value, 0
c.Caption = Empty
ErrIs "Caption Empty", 0
Check "Caption Empty", c.Caption, ""
c.Value = 30
c.Value = Null
ErrIs "Value Null", 13
Check "Value kept after Null", c.Value, 30
c.Caption = "kept"
c.Caption = Null
ErrIs "Caption Null", 13
Check "Caption kept after Null", c.Caption, "kept"
c.Value = Array(1, 2)
ErrIs "Value array", 13
c.Caption = Array("a", "b")
ErrIs "Caption array", 13
Check "Caption kept after array", c.Caption, "kept"
c.Value = Nothing
ErrIs "Value Nothing", 458
c.Caption = Nothing
ErrIs "Caption Nothing", 458
Check "Value kept", c.Value, 30

' Huge text: 10 MB of caption, search caption and format.
big = String(10 * 1024 * 1024, "x")
c.Caption = big
ErrIs "Caption 10 MB", 0
Check "Caption 10 MB length", Len(c.Caption), 10 * 1024 * 1024
c.SearchCaption = big
ErrIs "SearchCaption 10 MB", 0
Check "SearchCaption 10 MB length", Len(c.SearchCaption), 10 * 1024 * 1024
c.PercentFormat = String(1024 * 1024, "%") & "0"
ErrIs "PercentFormat of percent signs", 0
Check "PercentFormat of percent signs", c.PercentFormat, "0"
c.Caption = ""
c.SearchCaption = ""
c.PercentFormat = "#0"
big = Empty

' Objects of the wrong kind are refused before they reach the control and change nothing.
Set d = CreateObject("Scripting.Dictionary")
Set f = c.Font
Set c.Font = d
ErrIs "Font Dictionary", 430
Check "Font kept after Dictionary", c.Font Is f, True
Set c.Font = c
ErrIs "Font the control", 430
Check "Font kept after control", c.Font Is f, True
Set c.ProgressPicture = d
ErrIs "ProgressPicture Dictionary", 430
Check "ProgressPicture still none", c.ProgressPicture Is Nothing, True
Set c.BackgroundPicture = c
ErrIs "BackgroundPicture the control", 430
Check "BackgroundPicture still none", c.BackgroundPicture Is Nothing, True
Set c.ProgressPicture = f
ErrIs "ProgressPicture a font", 430
Set c.MouseIcon = d
ErrIs "MouseIcon Dictionary", 430
Set p = CreateObject("StdPicture")
Set c.Font = p
ErrIs "Font a picture", 430
Check "Font kept after picture", c.Font Is f, True
c.Font = 5
ErrIs "Font a number", 13
Check "Font kept after number", c.Font Is f, True
c.Value = d
ErrIs "Value Dictionary", 13
Set c.Value = c
ErrIs "Set Value", 438
c.hwnd = -2147483648
ErrIs "hwnd set", 387

' Still a working control: a write, a read and its saved state.
c.Value = 55
ErrIs "final write", 0
Check "final read", c.Value, 55
Check "font still answers", c.Font.Name, f.Name
On Error GoTo 0
