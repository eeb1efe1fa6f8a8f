# Intune detection, run as SYSTEM in 64-bit PowerShell (otherwise $env:ProgramFiles is the x86
# folder). /allusers: SYSTEM's own hive holds no user's Run keys. Exit 1 means faults found.
& "$env:ProgramFiles\Startlagaren\stlagc.exe" /allusers /scope:all
exit $LASTEXITCODE
