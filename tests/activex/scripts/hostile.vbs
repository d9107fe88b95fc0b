' A page's script is untrusted: numbers beyond a property's type, values of the wrong
' type, huge strings and objects of the wrong kind. The script sees the automation
' layer's error numbers (13 type mismatch, 6 overflow, 430 an object without the
' interface the property takes, 458 an empty object as a value, 438 a property assigned
' the wrong way), 387 for hwnd and E_INVALIDARG for a colour of no kind; the control
' keeps its value and stays usable. (Clamps and ranges: the core's tests; the HRESULT
' of each kind of error: dispatch_test.cpp.)
Dim c, d, big, f, p
Set c = CreateObject("VantiqCtl.Vantiq")
Set d = CreateObject("Scripting.Dictionary")
Set p = CreateObject("StdPicture")
Set f = c.Font
On Error Resume Next

Sub E(what, expected)
  Check what & " Err.Number", Err.Number, expected
  Err.Clear
End Sub

' One write for each error number a script can meet; the conversions themselves are
' oleaut32's, driven by the type library (type_library.txt), and nothing is stored.
c.ShadowIntensity = 2147483648 : E "ShadowIntensity 2^31", 6
c.ForeColor = 4294967296 : E "ForeColor 2^32", 6
c.Value = 40
c.Caption = "kept"
c.Value = "abc" : E "Value text", 13
c.Caption = Null : E "Caption Null", 13
c.Value = d : E "Value Dictionary", 13
c.Value = Nothing : E "Value Nothing", 458
Set c.Value = c : E "Set Value", 438
Check "kept after errors", c.Value & " " & c.Caption & " " & c.ShadowIntensity & " " & c.ForeColor, "40 kept 128 0"

' Empty converts: to zero, and to a text the control may receive as a null string.
c.Value = Empty : E "Value Empty", 0
c.Caption = Empty : E "Caption Empty", 0
Check "Empty", c.Value & "|" & c.Caption, "0|"

' Colours keep their bits: a 16-bit -1 as a 32-bit one; &HFF is red.
c.BackColor = -1 : E "BackColor -1", 0
Check "BackColor -1 bits", c.BackColor, -1
c.ForeColor = &HFF
Check "ForeColor &HFF", c.ForeColor, 255
c.BackColor = &H8000000F
Check "BackColor system colour", c.BackColor, &H8000000F
c.AlternateForeColor = -1 : E "AlternateForeColor -1", &H80070057
Check "AlternateForeColor kept", c.AlternateForeColor, &H8000000E
c.hwnd = -2147483648 : E "hwnd set", 387

' Huge text: 10 MB of caption and search caption.
big = String(10 * 1024 * 1024, "x")
c.Caption = big : E "Caption 10 MB", 0
c.SearchCaption = big : E "SearchCaption 10 MB", 0
Check "10 MB lengths", Len(c.Caption) & " " & Len(c.SearchCaption), "10485760 10485760"
c.Caption = ""
c.SearchCaption = ""
big = Empty

' Objects of the wrong kind are refused before they reach the control, the control itself
' among them: it is neither a font nor a picture.
Set c.Font = c : E "Font the control", 430
Set c.Font = p : E "Font a picture", 430
Check "Font kept", c.Font Is f, True
Set c.BackgroundPicture = c : E "BackgroundPicture the control", 430
Set c.ProgressPicture = f : E "ProgressPicture a font", 430
Check "pictures still none", c.ProgressPicture Is Nothing And c.BackgroundPicture Is Nothing, True

' Still a working control.
c.Value = 55 : E "final write", 0
Check "final read", c.Value, 55
Check "font still answers", c.Font.Name, f.Name
On Error GoTo 0
