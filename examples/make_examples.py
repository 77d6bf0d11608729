#!/usr/bin/env python3
"""Writes the bundled examples: a German translation and a newer English
base of it. Run it again after changing the texts below."""
import pathlib

here = pathlib.Path(__file__).parent

DEUTSCH = r'''INFO {
  Language = Deutsch
  LangID = 1031
  Version = 2.0
  Author = Translation Team
  Email = de@pylon.example
}
OBJECTS {
  Form:frmMain {
    Caption = Pylon Entwicklungsumgebung
    Menu:mnuFile {
      Caption = &Datei
      Action:actNew {
        Caption = &Neu
        Hint = Neues Projekt anlegen
        Shortcut = Ctrl+N
      }
      Action:actOpen {
        Caption = Ö&ffnen...
        Hint = Vorhandenes Projekt öffnen
        Shortcut = Ctrl+O
      }
      Action:actSave {
        Caption = &Speichern
        Hint = Änderungen speichern
        Shortcut = Ctrl+S
      }
      Action:actExit {
        Caption = &Beenden
        Hint = Pylon beenden und alle
        Fenster schließen
        Shortcut = Alt+F4
      }
    }
    Menu:mnuEdit {
      Caption = &Bearbeiten
      Action:actUndo {
        Caption = &Rückgängig
        Hint = Undo the last change
        Shortcut = Strg+Z
      }
      Action:actFind {
        Caption = &Suchen...
        Hint = Text im Editor suchen
        Shortcut = Ctrl+S
      }
    }
    Toolbar:tbMain {
      Hint = Werkzeugleiste
    }
    Label:lblStatus {
      Caption = Bereit
    }
  }
  Form:frmOptions {
    Caption = Optionen
    Tab:tabGeneral {
      Caption = Allgemein
      CheckBox:chkAutoSave {
        Caption = Automatisch &speichern
        Hint = Speichert alle 5 Minuten
      }
      CheckBox:chkBackup {
        Caption = &Sicherungskopien anlegen
      }
      ComboBox:cbTheme {
        Caption = Farbschema
        Items = {"Hell"
                 "Dunkel"
        }
      }
      RadioButton:rbTabs {
        Caption = Tabulatoren
      }
      RadioButton:rbSpaces {
        Caption = Leerzeichen&
      }
    }
    Tab:tabEditor {
      Caption = Editor
      GroupBox:grpFont {
        Caption = Schrift
        Edit:edtFontSize {
          Hint = Größe in Punkt
        }
      }
      List:lstKeywords {
        Items = {"Schlüsselwörter"
                 "Zeichenketten"
                 "Kommentare"
        }
      }
    }
    Button:btnOK {
      Caption = OK
    }
    Button:btnCancel {
      Caption = Abbrechen
    }
  }
  Form:frmAbout {
    Caption = Über Pylon
    Label:lblCopyright {
      Caption = © 2026 Pylon-Team, alle Rechte vorbehalten
      Lines = {"Pylon Entwicklungsumgebung"
               "Version 2.0"
               ""
      }
    }
    Button:btnClose {
      Caption = Schließen
    }
  }
}
STRINGS {
  SFileNotFound = "Datei ""%s"" nicht gefunden."
  SSaveChanges = Änderungen speichern?
  SLinesCompiled = %d Zeilen übersetzt, %d Fehler
  SHelpKey = "Drücken Sie {F1} für Hilfe"
  SReady = Bereit
  SEmpty =
  SOldMessage = Diese Meldung gibt es nicht mehr
}
'''

ENGLISH2 = r'''INFO {
  Language = English
  LangID = 1033
  Version = 2.1
}
OBJECTS {
  Form:frmMain {
    Caption = Pylon Development Environment
    Menu:mnuFile {
      Caption = &File
      Action:actNew {
        Caption = &New
        Hint = Create a new project
        Shortcut = Ctrl+N
      }
      Action:actOpen {
        Caption = &Open...
        Hint = Open an existing project
        Shortcut = Ctrl+O
      }
      Action:actSave {
        Caption = &Save
        Hint = Save changes
        Shortcut = Ctrl+S
      }
      Action:actSaveAll {
        Caption = Save A&ll
        Hint = Save all open files
        Shortcut = Shift+Ctrl+S
      }
      Action:actExit {
        Caption = E&xit
        Hint = Quit Pylon
        Shortcut = Alt+F4
      }
    }
    Menu:mnuEdit {
      Caption = &Edit
      Action:actUndo {
        Caption = &Undo
        Hint = Undo the last change
        Shortcut = Ctrl+Z
      }
      Action:actFind {
        Caption = &Find...
        Hint = " Find text in the editor "
        Shortcut = Ctrl+F
      }
    }
    Menu:mnuView {
      Caption = &View
      Action:actZoomIn {
        Caption = Zoom &In
        Shortcut = Ctrl+Add
      }
    }
    Label:lblStatus {
      Caption = Ready
    }
  }
  Form:frmOptions {
    Caption = Options
    Tab:tabGeneral {
      Caption = General
      CheckBox:chkAutoSave {
        Caption = Auto &save
        Hint = Saves every 5 minutes
      }
      CheckBox:chkBackup {
        Caption = Create &backup copies
      }
      ComboBox:cbTheme {
        Caption = Colour scheme
        Items = {"Light"
                 "Dark"
                 "System default"
        }
      }
      RadioButton:rbTabs {
        Caption = &Tabs
      }
      RadioButton:rbSpaces {
        Caption = S&paces
      }
    }
    Tab:tabEditor {
      Caption = Editor
      GroupBox:grpFont {
        Caption = Font
        Edit:edtFontSize {
          Hint = Size in points
        }
      }
      List:lstKeywords {
        Items = {"Keywords"
                 "Strings"
                 "Comments"
        }
      }
    }
    Button:btnOK {
      Caption = OK
    }
    Button:btnCancel {
      Caption = Cancel
    }
    Button:btnHelp {
      Caption = &Help
    }
  }
  Form:frmAbout {
    Caption = About Pylon
    Label:lblCopyright {
      Caption = © 2026 Pylon team, all rights reserved
      Lines = {"Pylon Development Environment"
               "Version 2.1"
               ""
      }
    }
    Button:btnClose {
      Caption = Close
    }
  }
}
STRINGS {
  SFileNotFound = "File ""%s"" not found."
  SSaveChanges = Save changes to %s?
  SLinesCompiled = %d lines compiled, %d errors
  SHelpKey = "Press {F1} for help"
  SReady = Ready
  SEmpty =
  SUnsavedFiles = %d files have unsaved changes
}
'''

for name, text in (("Deutsch.trvx", DEUTSCH), ("English-2.trvx", ENGLISH2)):
    (here / name).write_bytes(text.replace("\n", "\r\n").encode("cp1252"))
