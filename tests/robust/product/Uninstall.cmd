@rem The robustness tests' products install this as their uninstaller; it is
@rem never run.
@exit /b 0
