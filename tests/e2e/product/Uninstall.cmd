@rem The test product's uninstaller does nothing; the setup only registers it.
@exit /b 0
