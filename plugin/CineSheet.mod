+ PLATFORM:linux CineSheet 1.01 ./CineSheet
plug-ins: plug-ins
scripts: scripts
