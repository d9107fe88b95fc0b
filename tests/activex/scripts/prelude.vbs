' Run before every script of the control's tests: each check prints one line that the
' test program reads, "ok <what>" or "FAIL <what>: ...".
Option Explicit

Sub Check(what, actual, expected)
  If actual = expected Then
    WScript.Echo "ok " & what
  Else
    WScript.Echo "FAIL " & what & ": got " & CStr(actual) & ", expected " & CStr(expected)
  End If
End Sub

Sub CheckType(what, actual, expectedType)
  Check what & " is " & expectedType, TypeName(actual), expectedType
End Sub
