# Intune remediation, run as SYSTEM in 64-bit PowerShell. Each run backs the old values up in a
# new time-named file in a folder that only administrators may change, which stlagc makes.
$dir = Join-Path $env:ProgramData 'Startlagaren'
& "$env:ProgramFiles\Startlagaren\stlagc.exe" /allusers /scope:all /repair "$dir\"
exit $LASTEXITCODE
