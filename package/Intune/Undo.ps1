# Takes the remediation's repairs back, as SYSTEM in 64-bit PowerShell, from the backups in the
# remediation's folder. Exit 0: all restored; 1: something left; 2: the folder or a file refused.
$dir = Join-Path $env:ProgramData 'Startlagaren'
& "$env:ProgramFiles\Startlagaren\stlagc.exe" /undo "$dir\"
exit $LASTEXITCODE
