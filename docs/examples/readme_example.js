// The README's script in JScript: cscript //nologo readme_example.js prints "200 0.0 255".
var bar = new ActiveXObject("VantiqCtl.Vantiq");
bar.Max = 200;
bar.Value = 250;              // clamped to Max
bar.PercentFormat = "0.0%";   // the control adds "%" itself: stored as 0.0
bar.ShadowIntensity = 300;    // clamped to 255
WScript.Echo(bar.Value + " " + bar.PercentFormat + " " + bar.ShadowIntensity);
