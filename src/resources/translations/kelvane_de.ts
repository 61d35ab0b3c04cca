<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Strings</name>
    <message>
        <source>Center Signals</source>
        <translation>Signale zentrieren</translation>
    </message>
    <message>
        <source>Convert Format</source>
        <translation>Format umwandeln</translation>
    </message>
    <message>
        <source>Adjust Volume</source>
        <translation>Lautstärke anpassen</translation>
    </message>
    <message>
        <source>Swap Channels</source>
        <translation>Kanäle tauschen</translation>
    </message>
    <message>
        <source>Reverse</source>
        <translation>Umkehren</translation>
    </message>
    <message>
        <source>Normalize</source>
        <translation>Normalisieren</translation>
    </message>
    <message>
        <source>Add Echo</source>
        <translation>Echo hinzufügen</translation>
    </message>
    <message>
        <source>Change Pitch</source>
        <translation>Tonhöhe ändern</translation>
    </message>
    <message>
        <source>Add Chorus</source>
        <translation>Chorus hinzufügen</translation>
    </message>
    <message>
        <source>Compress/Expand Length</source>
        <translation>Länge stauchen/dehnen</translation>
    </message>
    <message>
        <source>Finish</source>
        <translation>Fertigstellen</translation>
    </message>
    <message>
        <source>Please select an output folder</source>
        <translation>Bitte wählen Sie einen Ausgabeordner</translation>
    </message>
    <message>
        <source>Kelvane cannot load &quot;%s&quot;
with the following error string.
%s

</source>
        <translation>Kelvane kann „%s“
nicht laden. Die Fehlermeldung lautet:
%s

</translation>
    </message>
    <message>
        <source>Kelvane cannot apply the filter to &quot;%s&quot;
due to not enough of memory or temporary disk space.

</source>
        <translation>Kelvane kann den Filter nicht auf „%s“ anwenden,
weil Arbeitsspeicher oder temporärer Plattenplatz nicht ausreichen.

</translation>
    </message>
    <message>
        <source>Kelvane cannot save &quot;%s&quot;
with the following error string.
%s

</source>
        <translation>Kelvane kann „%s“
nicht speichern. Die Fehlermeldung lautet:
%s

</translation>
    </message>
    <message>
        <source>Kelvane finished processing file
&quot;%s&quot;.

</source>
        <translation>Kelvane hat die Datei
„%s“ fertig bearbeitet.

</translation>
    </message>
    <message>
        <source>Kelvane finished all batch conversion.
</source>
        <translation>Kelvane hat die Stapelkonvertierung abgeschlossen.
</translation>
    </message>
    <message>
        <source>User canceled the current batch conversion.</source>
        <translation>Die Stapelkonvertierung wurde vom Benutzer abgebrochen.</translation>
    </message>
    <message>
        <source>Kelvane skipped &quot;%s&quot;:
&quot;%s&quot; already exists.

</source>
        <translation>Kelvane hat „%s“ übersprungen:
„%s“ ist bereits vorhanden.

</translation>
    </message>
    <message>
        <source>Real Audio 3.0 - 28.8 Mono narrow response</source>
        <translation>Real Audio 3.0 - 28.8 Mono, schmaler Frequenzgang</translation>
    </message>
    <message>
        <source>Real Audio 3.0 - 28.8 Mono medium response</source>
        <translation>Real Audio 3.0 - 28.8 Mono, mittlerer Frequenzgang</translation>
    </message>
    <message>
        <source>Real Audio 3.0 - 28.8 Mono full response</source>
        <translation>Real Audio 3.0 - 28.8 Mono, voller Frequenzgang</translation>
    </message>
    <message>
        <source>Real Audio 3.0 - 28.8 Stereo</source>
        <translation>Real Audio 3.0 - 28.8 Stereo</translation>
    </message>
    <message>
        <source>Real Audio 3.0 - ISDN Mono</source>
        <translation>Real Audio 3.0 - ISDN Mono</translation>
    </message>
    <message>
        <source>Real Audio 3.0 - ISDN Stereo</source>
        <translation>Real Audio 3.0 - ISDN Stereo</translation>
    </message>
    <message>
        <source>Real Audio 3.0 - Dual ISDN Mono</source>
        <translation>Real Audio 3.0 - Dual-ISDN Mono</translation>
    </message>
    <message>
        <source>Real Audio 3.0 - Dual ISDN Stereo</source>
        <translation>Real Audio 3.0 - Dual-ISDN Stereo</translation>
    </message>
    <message>
        <source>Real Audio 2.0 - 28.8</source>
        <translation>Real Audio 2.0 - 28.8</translation>
    </message>
    <message>
        <source>Real Audio 2.0 - 14.4</source>
        <translation>Real Audio 2.0 - 14.4</translation>
    </message>
    <message>
        <source>Kelvane cannot initialize Real Audio encoder.</source>
        <translation>Kelvane kann den Real-Audio-Encoder nicht initialisieren.</translation>
    </message>
    <message>
        <source>Kelvane</source>
        <translation>Kelvane</translation>
    </message>
    <message>
        <source>Mono</source>
        <translation>Mono</translation>
    </message>
    <message>
        <source>Stereo</source>
        <translation>Stereo</translation>
    </message>
    <message>
        <source>%s, %d Hz, %d Bits, %s</source>
        <translation>%s, %d Hz, %d Bit, %s</translation>
    </message>
    <message>
        <source>%.4f sec</source>
        <translation>%.4f s</translation>
    </message>
    <message>
        <source>MPEG %d, Layer %d, %d Hz, %s, %d kbits</source>
        <translation>MPEG %d, Layer %d, %d Hz, %s, %d kbit/s</translation>
    </message>
    <message>
        <source>Sub-Format</source>
        <translation>Unterformat</translation>
    </message>
    <message>
        <source>Uncompressed</source>
        <translation>Unkomprimiert</translation>
    </message>
    <message>
        <source>Mu-Law</source>
        <translation>Mu-Law</translation>
    </message>
    <message>
        <source>A-Law</source>
        <translation>A-Law</translation>
    </message>
    <message>
        <source>8 Bits unsigned</source>
        <translation>8 Bit ohne Vorzeichen</translation>
    </message>
    <message>
        <source>8 Bits signed</source>
        <translation>8 Bit mit Vorzeichen</translation>
    </message>
    <message>
        <source>16 Bits Little Endian signed </source>
        <translation>16 Bit Little Endian mit Vorzeichen </translation>
    </message>
    <message>
        <source>16 Bits Big Endian signed</source>
        <translation>16 Bit Big Endian mit Vorzeichen</translation>
    </message>
    <message>
        <source>16 Bits Little Endian unsigned</source>
        <translation>16 Bit Little Endian ohne Vorzeichen</translation>
    </message>
    <message>
        <source>16 Bits Big Endian unsgined</source>
        <translation>16 Bit Big Endian ohne Vorzeichen</translation>
    </message>
    <message>
        <source>Processing ...</source>
        <translation>Verarbeitung ...</translation>
    </message>
    <message>
        <source>Collecting wave information...</source>
        <translation>Wave-Informationen werden gesammelt...</translation>
    </message>
    <message>
        <source>Transferring data to temporary storage...</source>
        <translation>Daten werden in den temporären Speicher übertragen...</translation>
    </message>
    <message>
        <source>Generating new wave data...</source>
        <translation>Neue Wave-Daten werden erzeugt...</translation>
    </message>
    <message>
        <source>Converting wave format...</source>
        <translation>Wave-Format wird umgewandelt...</translation>
    </message>
    <message>
        <source>Loading ...</source>
        <translation>Laden ...</translation>
    </message>
    <message>
        <source>Saving ...</source>
        <translation>Speichern ...</translation>
    </message>
    <message>
        <source>Converting ...</source>
        <translation>Umwandeln ...</translation>
    </message>
    <message>
        <source>Converting source wave to match the destination format ...</source>
        <translation>Quell-Wave wird in das Zielformat umgewandelt ...</translation>
    </message>
    <message>
        <source>Please select a folder for temporary file storage</source>
        <translation>Bitte wählen Sie einen Ordner für temporäre Dateien</translation>
    </message>
    <message>
        <source>Kelvane does not enough memory or temporary disk space to complete current operations.</source>
        <translation>Kelvane hat nicht genug Arbeitsspeicher oder temporären Plattenplatz, um den aktuellen Vorgang abzuschließen.</translation>
    </message>
    <message>
        <source>Kelvane cannot open the requested file. Input file name may be invalid or the file is not sharable for reading.</source>
        <translation>Kelvane kann die angeforderte Datei nicht öffnen. Der Dateiname ist möglicherweise ungültig, oder die Datei kann nicht zum Lesen freigegeben werden.</translation>
    </message>
    <message>
        <source>Kelvane cannot create temporary file. Please make sure you have enough disk space.</source>
        <translation>Kelvane kann keine temporäre Datei anlegen. Bitte stellen Sie sicher, dass genug Plattenplatz frei ist.</translation>
    </message>
    <message>
        <source>Kelvane encountered an unknown error.</source>
        <translation>In Kelvane ist ein unbekannter Fehler aufgetreten.</translation>
    </message>
    <message>
        <source>Wave Mapper</source>
        <translation>Wave-Mapper</translation>
    </message>
    <message>
        <source>Kelvane failed to start recording. Please check whether the wave input device is free or the wave input device is capable of recording in the requested format.</source>
        <translation>Kelvane konnte die Aufnahme nicht starten. Bitte prüfen Sie, ob das Wave-Eingabegerät frei ist und im angeforderten Format aufnehmen kann.</translation>
    </message>
    <message>
        <source>Kelvane cannot play. No audio output device is available.</source>
        <translation>Kelvane kann nicht wiedergeben. Es ist kein Audioausgabegerät verfügbar.</translation>
    </message>
    <message>
        <source>Kelvane does not have MPEG audio exporter. Please use other file formats.</source>
        <translation>Kelvane kann kein MPEG-Audio exportieren. Bitte verwenden Sie andere Dateiformate.</translation>
    </message>
    <message>
        <source>Save changes to %s?</source>
        <translation>Änderungen an %s speichern?</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Unbenannt</translation>
    </message>
    <message>
        <source>Play selection
Play selection</source>
        <translation>Auswahl wiedergeben
Auswahl wiedergeben</translation>
    </message>
    <message>
        <source>Stop
Stop</source>
        <translation>Stopp
Stopp</translation>
    </message>
    <message>
        <source>Play from beginning
Play from beginning</source>
        <translation>Vom Anfang wiedergeben
Vom Anfang wiedergeben</translation>
    </message>
    <message>
        <source>Record
Record</source>
        <translation>Aufnehmen
Aufnehmen</translation>
    </message>
    <message>
        <source>Play selection in loop
Play selection in loop</source>
        <translation>Auswahl in Schleife wiedergeben
Auswahl in Schleife wiedergeben</translation>
    </message>
    <message>
        <source>Go to beginning
Go to beginning</source>
        <translation>Zum Anfang
Zum Anfang</translation>
    </message>
    <message>
        <source>Go to end
Go to end</source>
        <translation>Zum Ende
Zum Ende</translation>
    </message>
    <message>
        <source>Select the whole document</source>
        <translation>Das ganze Dokument auswählen</translation>
    </message>
    <message>
        <source>Select none of the current document</source>
        <translation>Nichts im aktuellen Dokument auswählen</translation>
    </message>
    <message>
        <source>Select a particular region of the current document</source>
        <translation>Einen bestimmten Bereich des aktuellen Dokuments auswählen</translation>
    </message>
    <message>
        <source>Undo the last action
Undo</source>
        <translation>Die letzte Aktion rückgängig machen
Rückgängig</translation>
    </message>
    <message>
        <source>Redo the previously undone action
Redo</source>
        <translation>Die rückgängig gemachte Aktion wiederholen
Wiederholen</translation>
    </message>
    <message>
        <source>Promote the current selection as new document</source>
        <translation>Die aktuelle Auswahl als neues Dokument übernehmen</translation>
    </message>
    <message>
        <source>Save the active document
Save</source>
        <translation>Das aktive Dokument speichern
Speichern</translation>
    </message>
    <message>
        <source>Save the active document with a new name
Save As</source>
        <translation>Das aktive Dokument unter neuem Namen speichern
Speichern unter</translation>
    </message>
    <message>
        <source>Edit the summary information of the current document</source>
        <translation>Die Zusammenfassung des aktuellen Dokuments bearbeiten</translation>
    </message>
    <message>
        <source>Convert format of the whole file</source>
        <translation>Das Format der ganzen Datei umwandeln</translation>
    </message>
    <message>
        <source>Adjust volume of the current selection</source>
        <translation>Die Lautstärke der aktuellen Auswahl anpassen</translation>
    </message>
    <message>
        <source>Fade in the current selection</source>
        <translation>Die aktuelle Auswahl einblenden</translation>
    </message>
    <message>
        <source>Fade out the current selection</source>
        <translation>Die aktuelle Auswahl ausblenden</translation>
    </message>
    <message>
        <source>Pan from left to right</source>
        <translation>Von links nach rechts schwenken</translation>
    </message>
    <message>
        <source>Pan from right to left</source>
        <translation>Von rechts nach links schwenken</translation>
    </message>
    <message>
        <source>Mute the current selection</source>
        <translation>Die aktuelle Auswahl stummschalten</translation>
    </message>
    <message>
        <source>Insert silence into current position</source>
        <translation>Stille an der aktuellen Position einfügen</translation>
    </message>
    <message>
        <source>Normalize the current selection</source>
        <translation>Die aktuelle Auswahl normalisieren</translation>
    </message>
    <message>
        <source>Add echo to the current selection</source>
        <translation>Der aktuellen Auswahl ein Echo hinzufügen</translation>
    </message>
    <message>
        <source>Add chorus to the current selection</source>
        <translation>Der aktuellen Auswahl einen Chorus hinzufügen</translation>
    </message>
    <message>
        <source>Compress or expand the current selection</source>
        <translation>Die aktuelle Auswahl stauchen oder dehnen</translation>
    </message>
    <message>
        <source>Copy the selection and put it on the Clipboard
Copy</source>
        <translation>Die Auswahl in die Zwischenablage kopieren
Kopieren</translation>
    </message>
    <message>
        <source>Cut the selection and put it on the Clipboard
Cut</source>
        <translation>Die Auswahl ausschneiden und in die Zwischenablage legen
Ausschneiden</translation>
    </message>
    <message>
        <source>Insert Clipboard contents
Paste</source>
        <translation>Den Inhalt der Zwischenablage einfügen
Einfügen</translation>
    </message>
    <message>
        <source>Delete current selection</source>
        <translation>Die aktuelle Auswahl löschen</translation>
    </message>
    <message>
        <source>Keep only the current selection</source>
        <translation>Nur die aktuelle Auswahl behalten</translation>
    </message>
    <message>
        <source>Mix clipboard contents to the current wave file.</source>
        <translation>Den Inhalt der Zwischenablage in die aktuelle Wave-Datei mischen.</translation>
    </message>
    <message>
        <source>Zoom in
Zoom in</source>
        <translation>Vergrößern
Vergrößern</translation>
    </message>
    <message>
        <source>Zoom out
Zoom out</source>
        <translation>Verkleinern
Verkleinern</translation>
    </message>
    <message>
        <source>Zoom to fit
Zoom to fit</source>
        <translation>Ganz anzeigen
Ganz anzeigen</translation>
    </message>
    <message>
        <source>Kelvane cannot open the requested file. The file may be corrupted.</source>
        <translation>Kelvane kann die angeforderte Datei nicht öffnen. Die Datei ist möglicherweise beschädigt.</translation>
    </message>
    <message>
        <source>Kelvane does not support the requrested file sub-format.</source>
        <translation>Kelvane unterstützt das angeforderte Unterformat der Datei nicht.</translation>
    </message>
    <message>
        <source>Kelvane cannot determine the requested file format.</source>
        <translation>Kelvane kann das Format der angeforderten Datei nicht bestimmen.</translation>
    </message>
    <message>
        <source>Kelvane cannot write to the requested file. The file name may be invalid, or the disk is full, or the file is in used by another program.</source>
        <translation>Kelvane kann nicht in die angeforderte Datei schreiben. Der Dateiname ist möglicherweise ungültig, die Platte ist voll, oder die Datei wird von einem anderen Programm verwendet.</translation>
    </message>
    <message>
        <source>Sampling rate must be within the range of 8000 and 48000.</source>
        <translation>Die Abtastrate muss zwischen 8000 und 48000 liegen.</translation>
    </message>
    <message>
        <source>OLE initialization failed.  Make sure that the OLE libraries are the correct version.</source>
        <translation>Die OLE-Initialisierung ist fehlgeschlagen. Stellen Sie sicher, dass die OLE-Bibliotheken in der richtigen Version vorliegen.</translation>
    </message>
    <message>
        <source>
Wave
Wave
Wave Files (*.wav)
.wav
Wave.Document
Wave Document</source>
        <translation>
Wave
Wave
Wave-Dateien (*.wav)
.wav
Wave.Document
Wave-Dokument</translation>
    </message>
    <message>
        <source>                             </source>
        <translation>                             </translation>
    </message>
    <message>
        <source>                     </source>
        <translation>                     </translation>
    </message>
    <message>
        <source>Bytes</source>
        <translation>Bytes</translation>
    </message>
    <message>
        <source>Samples</source>
        <translation>Samples</translation>
    </message>
    <message>
        <source>Seconds</source>
        <translation>Sekunden</translation>
    </message>
    <message>
        <source>SMPTE</source>
        <translation>SMPTE</translation>
    </message>
    <message>
        <source>Frames</source>
        <translation>Frames</translation>
    </message>
    <message>
        <source>Beats</source>
        <translation>Beats</translation>
    </message>
    <message>
        <source>Vantrel Software</source>
        <translation>Vantrel Software</translation>
    </message>
    <message>
        <source>Create a new document
New</source>
        <translation>Ein neues Dokument erstellen
Neu</translation>
    </message>
    <message>
        <source>Open an existing document
Open</source>
        <translation>Ein vorhandenes Dokument öffnen
Öffnen</translation>
    </message>
    <message>
        <source>Close the active document
Close</source>
        <translation>Das aktive Dokument schließen
Schließen</translation>
    </message>
    <message>
        <source>Open this document</source>
        <translation>Dieses Dokument öffnen</translation>
    </message>
    <message>
        <source>Open another window for the active document
New Window</source>
        <translation>Ein weiteres Fenster für das aktive Dokument öffnen
Neues Fenster</translation>
    </message>
    <message>
        <source>Arrange icons at the bottom of the window
Arrange Icons</source>
        <translation>Symbole am unteren Fensterrand anordnen
Symbole anordnen</translation>
    </message>
    <message>
        <source>Arrange windows so they overlap
Cascade Windows</source>
        <translation>Fenster überlappend anordnen
Überlappend</translation>
    </message>
    <message>
        <source>Arrange windows as non-overlapping tiles
Tile Windows</source>
        <translation>Fenster nebeneinander anordnen
Nebeneinander</translation>
    </message>
    <message>
        <source>Display program information, version number and copyright
About</source>
        <translation>Programminformationen, Versionsnummer und Copyright anzeigen
Info</translation>
    </message>
    <message>
        <source>Quit the application; prompts to save documents
Exit</source>
        <translation>Die Anwendung beenden; fragt nach dem Speichern der Dokumente
Beenden</translation>
    </message>
    <message>
        <source>List Help topics
Help Topics</source>
        <translation>Hilfethemen auflisten
Hilfethemen</translation>
    </message>
    <message>
        <source>Display help for current task or command
Help</source>
        <translation>Hilfe zur aktuellen Aufgabe oder zum Befehl anzeigen
Hilfe</translation>
    </message>
    <message>
        <source>Switch to the next window pane
Next Pane</source>
        <translation>Zum nächsten Fensterbereich wechseln
Nächster Bereich</translation>
    </message>
    <message>
        <source>Switch back to the previous window pane
Previous Pane</source>
        <translation>Zum vorherigen Fensterbereich zurückwechseln
Vorheriger Bereich</translation>
    </message>
    <message>
        <source>Show or hide the toolbar
Toggle ToolBar</source>
        <translation>Die Symbolleiste ein- oder ausblenden
Symbolleiste ein/aus</translation>
    </message>
    <message>
        <source>Show or hide the status bar
Toggle StatusBar</source>
        <translation>Die Statusleiste ein- oder ausblenden
Statusleiste ein/aus</translation>
    </message>
    <message>
        <source>Change the color of the wave windows.
Color</source>
        <translation>Die Farben der Wave-Fenster ändern.
Farbe</translation>
    </message>
    <message>
        <source>Choose the wave input and output devices
Devices</source>
        <translation>Die Wave-Ein- und -Ausgabegeräte wählen
Geräte</translation>
    </message>
    <message>
        <source>Choose the unit of positions and lengths
Display Format</source>
        <translation>Die Einheit für Positionen und Längen wählen
Anzeigeformat</translation>
    </message>
    <message>
        <source>Choose the folder for temporary files
Miscellaneous</source>
        <translation>Den Ordner für temporäre Dateien wählen
Verschiedenes</translation>
    </message>
    <message>
        <source>Convert a list of files through a chain of filters
Batch Conversion</source>
        <translation>Eine Liste von Dateien durch eine Filterkette umwandeln
Stapelkonvertierung</translation>
    </message>
    <message>
        <source>Close all documents, asking to save the changed ones
Close All</source>
        <translation>Alle Dokumente schließen, geänderte nach Rückfrage speichern
Alle schließen</translation>
    </message>
    <message>
        <source>Kelvane, a sound editor</source>
        <translation>Kelvane, ein Klangeditor</translation>
    </message>
    <message>
        <source>Version %s</source>
        <translation>Version %s</translation>
    </message>
    <message>
        <source>Visit the Kelvane web page</source>
        <translation>Die Kelvane-Webseite besuchen</translation>
    </message>
    <message>
        <source>Kelvane has no help installed. The web page is at %s.</source>
        <translation>Für Kelvane ist keine Hilfe installiert. Die Webseite finden Sie unter %s.</translation>
    </message>
    <message>
        <source>Hz</source>
        <translation>Hz</translation>
    </message>
    <message>
        <source>Bit</source>
        <translation>Bit</translation>
    </message>
    <message>
        <source>SS:</source>
        <translation>AA:</translation>
    </message>
    <message>
        <source>SL:</source>
        <translation>AL:</translation>
    </message>
    <message>
        <source>PL:</source>
        <translation>WP:</translation>
    </message>
    <message>
        <source>ZM:</source>
        <translation>ZM:</translation>
    </message>
    <message>
        <source>LN:</source>
        <translation>LÄ:</translation>
    </message>
    <message>
        <source>Screen middle line</source>
        <translation>Bildschirm: Mittellinie</translation>
    </message>
    <message>
        <source>Screen inactive middle line</source>
        <translation>Bildschirm: inaktive Mittellinie</translation>
    </message>
    <message>
        <source>Screen left channel</source>
        <translation>Bildschirm: linker Kanal</translation>
    </message>
    <message>
        <source>Screen right channel</source>
        <translation>Bildschirm: rechter Kanal</translation>
    </message>
    <message>
        <source>Screen text color</source>
        <translation>Bildschirm: Textfarbe</translation>
    </message>
    <message>
        <source>Screen background</source>
        <translation>Bildschirm: Hintergrund</translation>
    </message>
    <message>
        <source>Document middle line</source>
        <translation>Dokument: Mittellinie</translation>
    </message>
    <message>
        <source>Document inactive middle line</source>
        <translation>Dokument: inaktive Mittellinie</translation>
    </message>
    <message>
        <source>Document left channel</source>
        <translation>Dokument: linker Kanal</translation>
    </message>
    <message>
        <source>Document right channel</source>
        <translation>Dokument: rechter Kanal</translation>
    </message>
    <message>
        <source>Document text</source>
        <translation>Dokument: Text</translation>
    </message>
    <message>
        <source>Document background</source>
        <translation>Dokument: Hintergrund</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>Links</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>Rechts</translation>
    </message>
    <message>
        <source>Play the selection, or stop playing
Play or stop</source>
        <translation>Die Auswahl wiedergeben oder die Wiedergabe anhalten
Wiedergabe/Stopp</translation>
    </message>
    <message>
        <source>Extend the selection to the beginning
Select to beginning</source>
        <translation>Die Auswahl bis zum Anfang erweitern
Bis zum Anfang auswählen</translation>
    </message>
    <message>
        <source>Extend the selection to the end
Select to end</source>
        <translation>Die Auswahl bis zum Ende erweitern
Bis zum Ende auswählen</translation>
    </message>
    <message>
        <source>Kelvane cannot open the requested file: as 16-bit samples its sound would need more than 4 GiB, the most a sound can hold.</source>
        <translation>Kelvane kann die angeforderte Datei nicht öffnen: Als 16-Bit-Samples bräuchte ihr Klang mehr als 4 GiB, mehr als ein Klang fassen kann.</translation>
    </message>
    <message>
        <source>%s, %s%u Hz, %s, read as 16-bit %s</source>
        <translation>%s, %s%u Hz, %s, gelesen als 16 Bit %s</translation>
    </message>
    <message>
        <source>mono</source>
        <translation>Mono</translation>
    </message>
    <message>
        <source>stereo</source>
        <translation>Stereo</translation>
    </message>
    <message>
        <source>%u channels</source>
        <translation>%u Kanäle</translation>
    </message>
    <message>
        <source>%u-bit, </source>
        <translation>%u Bit, </translation>
    </message>
    <message>
        <source>%u-bit float, </source>
        <translation>%u Bit Gleitkomma, </translation>
    </message>
    <message>
        <source>All Supported Audio files (*.wav, *.au, *.snd, *.aif, *.aiff, *.mp, *.mpa, *.mp2, *.mp3, *.flac, *.ogg, *.oga, *.opus, *.caf, *.w64, *.rf64, *.aifc)|*.wav; *.au; *.snd; *.aif; *.aiff; *.mp; *.mpa; *.mp2; *.mp3; *.flac; *.ogg; *.oga; *.opus; *.caf; *.w64; *.rf64; *.aifc|Microsoft Wave Files (*.wav)|*.wav|Sun (Java) Au Files (*.au, *.snd)|*.au; *.snd|Mactinosh Aiff Files (*.aif, *.aiff)|*.aif; *.aiff|Mpeg Audio layer 1 &amp; 2 (*.mp, *.mpa, *.mp2)|*.mp; *.mpa; *.mp2|MP3 Files (*.mp3)|*.mp3|FLAC Files (*.flac)|*.flac|Ogg Vorbis and Opus Files (*.ogg, *.oga, *.opus)|*.ogg; *.oga; *.opus|CAF, Wave64, RF64 and AIFF-C Files (*.caf, *.w64, *.rf64, *.aifc)|*.caf; *.w64; *.rf64; *.aifc|All Files (*.*)|*.*||</source>
        <translation>Alle unterstützten Audiodateien (*.wav, *.au, *.snd, *.aif, *.aiff, *.mp, *.mpa, *.mp2, *.mp3, *.flac, *.ogg, *.oga, *.opus, *.caf, *.w64, *.rf64, *.aifc)|*.wav; *.au; *.snd; *.aif; *.aiff; *.mp; *.mpa; *.mp2; *.mp3; *.flac; *.ogg; *.oga; *.opus; *.caf; *.w64; *.rf64; *.aifc|Microsoft-Wave-Dateien (*.wav)|*.wav|Sun-(Java-)Au-Dateien (*.au, *.snd)|*.au; *.snd|Macintosh-Aiff-Dateien (*.aif, *.aiff)|*.aif; *.aiff|MPEG Audio Layer 1 &amp; 2 (*.mp, *.mpa, *.mp2)|*.mp; *.mpa; *.mp2|MP3-Dateien (*.mp3)|*.mp3|FLAC-Dateien (*.flac)|*.flac|Ogg-Vorbis- und Opus-Dateien (*.ogg, *.oga, *.opus)|*.ogg; *.oga; *.opus|CAF-, Wave64-, RF64- und AIFF-C-Dateien (*.caf, *.w64, *.rf64, *.aifc)|*.caf; *.w64; *.rf64; *.aifc|Alle Dateien (*.*)|*.*||</translation>
    </message>
    <message>
        <source>Microsoft Wave Files (*.wav)|*.wav|Sun (Java) Au Files (*.au, *.snd)|*.au; *.snd|Mactinosh Aiff Files (*.aif, *.aiff)|*.aif; *.aiff|Mpeg Audio layer 1 &amp; 2 (*.mp, *.mpa, *.mp2)|*.mp; *.mpa; *.mp2|FLAC Files (*.flac)|*.flac|Ogg Vorbis and Opus Files (*.ogg, *.oga, *.opus)|*.ogg; *.oga; *.opus|CAF, Wave64, RF64 and AIFF-C Files (*.caf, *.w64, *.rf64, *.aifc)|*.caf; *.w64; *.rf64; *.aifc|Raw Files (*.*)|*.*|All Supported Audio files|*.wav; *.au; *.snd; *.aif; *.aiff; *.mp; *.mpa; *.mp2; *.flac; *.ogg; *.oga; *.opus; *.caf; *.w64; *.rf64; *.aifc|All Files (*.*)|*.*||</source>
        <translation>Microsoft-Wave-Dateien (*.wav)|*.wav|Sun-(Java-)Au-Dateien (*.au, *.snd)|*.au; *.snd|Macintosh-Aiff-Dateien (*.aif, *.aiff)|*.aif; *.aiff|MPEG Audio Layer 1 &amp; 2 (*.mp, *.mpa, *.mp2)|*.mp; *.mpa; *.mp2|FLAC-Dateien (*.flac)|*.flac|Ogg-Vorbis- und Opus-Dateien (*.ogg, *.oga, *.opus)|*.ogg; *.oga; *.opus|CAF-, Wave64-, RF64- und AIFF-C-Dateien (*.caf, *.w64, *.rf64, *.aifc)|*.caf; *.w64; *.rf64; *.aifc|Rohdateien (*.*)|*.*|Alle unterstützten Audiodateien|*.wav; *.au; *.snd; *.aif; *.aiff; *.mp; *.mpa; *.mp2; *.flac; *.ogg; *.oga; *.opus; *.caf; *.w64; *.rf64; *.aifc|Alle Dateien (*.*)|*.*||</translation>
    </message>
    <message>
        <source>Microsoft Wave Files (*.wav)
Sun (Java) Au Files (*.au, *.snd)
Mactinosh Aiff Files (*.aif, *.aiff)
Real Audio Files (*.ra)
Raw Files(*.*, *.pcm)
FLAC Files (*.flac)
Ogg Vorbis Files (*.ogg, *.oga)
Opus Files (*.opus)
MP3 Files (*.mp3)</source>
        <translation>Microsoft-Wave-Dateien (*.wav)
Sun-(Java-)Au-Dateien (*.au, *.snd)
Macintosh-Aiff-Dateien (*.aif, *.aiff)
Real-Audio-Dateien (*.ra)
Rohdateien(*.*, *.pcm)
FLAC-Dateien (*.flac)
Ogg Vorbis Files (*.ogg, *.oga)
Opus Files (*.opus)
MP3-Dateien (*.mp3)</translation>
    </message>
    <message>
        <source>Encoder Options</source>
        <translation>Encoder-Optionen</translation>
    </message>
    <message>
        <source>FLAC</source>
        <translation>FLAC</translation>
    </message>
    <message>
        <source>Ogg Vorbis</source>
        <translation>Ogg Vorbis</translation>
    </message>
    <message>
        <source>Opus</source>
        <translation>Opus</translation>
    </message>
    <message>
        <source>MP3</source>
        <translation>MP3</translation>
    </message>
    <message>
        <source>Compression &amp;level:</source>
        <translation>Kompressions&amp;stufe:</translation>
    </message>
    <message>
        <source>0 fastest, 8 smallest</source>
        <translation>0 am schnellsten, 8 am kleinsten</translation>
    </message>
    <message>
        <source>&amp;Quality:</source>
        <translation>&amp;Qualität:</translation>
    </message>
    <message>
        <source>0 smallest, 10 best</source>
        <translation>0 am kleinsten, 10 am besten</translation>
    </message>
    <message>
        <source>&amp;Bit rate:</source>
        <translation>&amp;Bitrate:</translation>
    </message>
    <message>
        <source>kbit/s</source>
        <translation>kbit/s</translation>
    </message>
    <message>
        <source>&amp;Variable bit rate, quality:</source>
        <translation>&amp;Variable Bitrate, Qualität:</translation>
    </message>
    <message>
        <source>&amp;Constant bit rate:</source>
        <translation>&amp;Konstante Bitrate:</translation>
    </message>
    <message>
        <source>0 best, 9 smallest</source>
        <translation>0 am besten, 9 am kleinsten</translation>
    </message>
    <message>
        <source>FLAC, compression level %d</source>
        <translation>FLAC, Kompressionsstufe %d</translation>
    </message>
    <message>
        <source>Ogg Vorbis, quality %d</source>
        <translation>Ogg Vorbis, Qualität %d</translation>
    </message>
    <message>
        <source>Opus, %d kbit/s</source>
        <translation>Opus, %d kbit/s</translation>
    </message>
    <message>
        <source>MP3, variable bit rate, quality %d</source>
        <translation>MP3, variable Bitrate, Qualität %d</translation>
    </message>
    <message>
        <source>MP3, %d kbit/s constant</source>
        <translation>MP3, %d kbit/s konstant</translation>
    </message>
    <message>
        <source>Kelvane cannot keep the changes to &quot;%s&quot; safe from a crash: the temporary folder is full or cannot be written. The sound is still open; save it or make some space.</source>
        <translation>Kelvane kann die Änderungen an „%s“ nicht vor einem Absturz sichern: Der temporäre Ordner ist voll oder nicht beschreibbar. Der Klang bleibt geöffnet; speichern Sie ihn oder schaffen Sie Platz.</translation>
    </message>
    <message>
        <source>Kelvane cannot recover &quot;%s&quot;: its temporary files are missing, damaged or too large for the temporary disk space. They are kept for the next start.</source>
        <translation>Kelvane kann „%s“ nicht wiederherstellen: Seine temporären Dateien fehlen, sind beschädigt oder zu groß für den temporären Plattenplatz. Sie bleiben für den nächsten Start erhalten.</translation>
    </message>
</context>
<context>
    <name>kelvane</name>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>Ö&amp;ffnen...</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>Schl&amp;ießen</translation>
    </message>
    <message>
        <source>&amp;Batch Conversion...</source>
        <translation>S&amp;tapelkonvertierung...</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;About Kelvane...</source>
        <translation>Inf&amp;o über Kelvane...</translation>
    </message>
    <message>
        <source>&amp;Help Topics</source>
        <translation>&amp;Hilfethemen</translation>
    </message>
    <message>
        <source>&amp;Color...</source>
        <translation>&amp;Farbe...</translation>
    </message>
    <message>
        <source>&amp;Devices...</source>
        <translation>&amp;Geräte...</translation>
    </message>
    <message>
        <source>Display &amp;Format...</source>
        <translation>&amp;Anzeigeformat...</translation>
    </message>
    <message>
        <source>&amp;Miscellaneous...</source>
        <translation>&amp;Verschiedenes...</translation>
    </message>
    <message>
        <source>&amp;Toolbar</source>
        <translation>&amp;Symbolleiste</translation>
    </message>
    <message>
        <source>&amp;Status Bar</source>
        <translation>S&amp;tatusleiste</translation>
    </message>
    <message>
        <source>&amp;New Window</source>
        <translation>&amp;Neues Fenster</translation>
    </message>
    <message>
        <source>&amp;Cascade</source>
        <translation>Ü&amp;berlappend</translation>
    </message>
    <message>
        <source>&amp;Tile</source>
        <translation>N&amp;ebeneinander</translation>
    </message>
    <message>
        <source>&amp;Arrange Icons</source>
        <translation>Symbole an&amp;ordnen</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation>Speichern &amp;unter...</translation>
    </message>
    <message>
        <source>P&amp;roperties...</source>
        <translation>&amp;Eigenschaften...</translation>
    </message>
    <message>
        <source>Select &amp;All</source>
        <translation>&amp;Alles auswählen</translation>
    </message>
    <message>
        <source>Select &amp;None</source>
        <translation>&amp;Nichts auswählen</translation>
    </message>
    <message>
        <source>&amp;Selection...</source>
        <translation>Aus&amp;wahl...</translation>
    </message>
    <message>
        <source>&amp;Promote as New Document</source>
        <translation>Als neues &amp;Dokument übernehmen</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>&amp;Ausschneiden</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Einfügen</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>&amp;Mix</source>
        <translation>&amp;Mischen</translation>
    </message>
    <message>
        <source>Adjust &amp;Volume...</source>
        <translation>&amp;Lautstärke anpassen...</translation>
    </message>
    <message>
        <source>&amp;In</source>
        <translation>&amp;Einblenden</translation>
    </message>
    <message>
        <source>&amp;Out</source>
        <translation>&amp;Ausblenden</translation>
    </message>
    <message>
        <source>&amp;Left to Right</source>
        <translation>Von &amp;links nach rechts</translation>
    </message>
    <message>
        <source>&amp;Right to Left</source>
        <translation>Von &amp;rechts nach links</translation>
    </message>
    <message>
        <source>&amp;Mute</source>
        <translation>Stu&amp;mmschalten</translation>
    </message>
    <message>
        <source>&amp;Insert Silence...</source>
        <translation>Stille e&amp;infügen...</translation>
    </message>
    <message>
        <source>&amp;Swap Channels</source>
        <translation>&amp;Kanäle tauschen</translation>
    </message>
    <message>
        <source>&amp;Reverse</source>
        <translation>&amp;Umkehren</translation>
    </message>
    <message>
        <source>&amp;Normalize</source>
        <translation>&amp;Normalisieren</translation>
    </message>
    <message>
        <source>Add &amp;Echo...</source>
        <translation>&amp;Echo hinzufügen...</translation>
    </message>
    <message>
        <source>Add &amp;Chorus...</source>
        <translation>&amp;Chorus hinzufügen...</translation>
    </message>
    <message>
        <source>Change &amp;Pitch...</source>
        <translation>&amp;Tonhöhe ändern...</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Preferences</source>
        <translation>Einste&amp;llungen</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Selection</source>
        <translation>Aus&amp;wahl</translation>
    </message>
    <message>
        <source>&amp;Process</source>
        <translation>&amp;Verarbeiten</translation>
    </message>
    <message>
        <source>&amp;Fade</source>
        <translation>&amp;Blende</translation>
    </message>
    <message>
        <source>P&amp;an</source>
        <translation>&amp;Schwenken</translation>
    </message>
    <message>
        <source>&amp;Window</source>
        <translation>&amp;Fenster</translation>
    </message>
    <message>
        <source>Close A&amp;ll</source>
        <translation>A&amp;lle schließen</translation>
    </message>
    <message>
        <source>Select to &amp;Beginning</source>
        <translation>&amp;Bis zum Anfang auswählen</translation>
    </message>
    <message>
        <source>Select to &amp;End</source>
        <translation>Bis zum &amp;Ende auswählen</translation>
    </message>
    <message>
        <source>Tr&amp;im</source>
        <translation>&amp;Zuschneiden</translation>
    </message>
    <message>
        <source>Cen&amp;ter Signals</source>
        <translation>Signale &amp;zentrieren</translation>
    </message>
    <message>
        <source>Compress/E&amp;xpand Length...</source>
        <translation>Länge stauchen/&amp;dehnen...</translation>
    </message>
    <message>
        <source>Convert F&amp;ormat...</source>
        <translation>&amp;Format umwandeln...</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederholen</translation>
    </message>
</context>
<context>
    <name>kelvane::CAboutDlg</name>
    <message>
        <source>About Kelvane</source>
        <translation>Über Kelvane</translation>
    </message>
</context>
<context>
    <name>kelvane::CBatchFileDialog</name>
    <message>
        <source>Microsoft Wave Files (*.wav)</source>
        <translation>Microsoft-Wave-Dateien (*.wav)</translation>
    </message>
    <message>
        <source>Sun (Java) audio Files (*.au)</source>
        <translation>Sun-(Java-)Audiodateien (*.au)</translation>
    </message>
    <message>
        <source>Mactinosh aiff Files (*.aif)</source>
        <translation>Macintosh-Aiff-Dateien (*.aif)</translation>
    </message>
    <message>
        <source>Real Audio Files (*.ra)</source>
        <translation>Real-Audio-Dateien (*.ra)</translation>
    </message>
    <message>
        <source>Raw Files (*.*)</source>
        <translation>Rohdateien (*.*)</translation>
    </message>
    <message>
        <source>FLAC Files (*.flac)</source>
        <translation>FLAC-Dateien (*.flac)</translation>
    </message>
    <message>
        <source>Ogg Vorbis Files (*.ogg)</source>
        <translation>Ogg-Vorbis-Dateien (*.ogg)</translation>
    </message>
    <message>
        <source>Opus Files (*.opus)</source>
        <translation>Opus-Dateien (*.opus)</translation>
    </message>
    <message>
        <source>MP3 Files (*.mp3)</source>
        <translation>MP3-Dateien (*.mp3)</translation>
    </message>
    <message>
        <source>&amp;Add...</source>
        <translation>&amp;Hinzufügen...</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Entfernen</translation>
    </message>
    <message>
        <source>O&amp;ptions...</source>
        <translation>O&amp;ptionen...</translation>
    </message>
    <message>
        <source>Output &amp;Path...</source>
        <translation>Ausgabe&amp;ordner...</translation>
    </message>
    <message>
        <source>Batch Conversion</source>
        <translation>Stapelkonvertierung</translation>
    </message>
    <message>
        <source>Total:</source>
        <translation>Gesamt:</translation>
    </message>
    <message>
        <source>A&amp;vailable Filters:</source>
        <translation>&amp;Verfügbare Filter:</translation>
    </message>
    <message>
        <source>Filter &amp;Chain:</source>
        <translation>Filter&amp;kette:</translation>
    </message>
    <message>
        <source>&amp;Format:</source>
        <translation>&amp;Format:</translation>
    </message>
    <message>
        <source>Sub-Format:</source>
        <translation>Unterformat:</translation>
    </message>
    <message>
        <source>Input Files</source>
        <translation>Eingabedateien</translation>
    </message>
    <message>
        <source>Filters</source>
        <translation>Filter</translation>
    </message>
    <message>
        <source>Output</source>
        <translation>Ausgabe</translation>
    </message>
</context>
<context>
    <name>kelvane::CBatchProgressDlg</name>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Batch Conversion</source>
        <translation>Stapelkonvertierung</translation>
    </message>
    <message>
        <source>Current Filter</source>
        <translation>Aktueller Filter</translation>
    </message>
    <message>
        <source>Overall Progress</source>
        <translation>Gesamtfortschritt</translation>
    </message>
</context>
<context>
    <name>kelvane::CChangePitchDlg</name>
    <message>
        <source>&amp;Perserve wave length.</source>
        <translation>Wave-Länge &amp;beibehalten.</translation>
    </message>
    <message>
        <source>Change Pitch</source>
        <translation>Tonhöhe ändern</translation>
    </message>
</context>
<context>
    <name>kelvane::CChildFrame</name>
    <message>
        <source>Wave</source>
        <translation>Wave</translation>
    </message>
</context>
<context>
    <name>kelvane::CChorusDlg</name>
    <message>
        <source>Chorus</source>
        <translation>Chorus</translation>
    </message>
    <message>
        <source>Modulation &amp;Frequency</source>
        <translation>Modulations&amp;frequenz</translation>
    </message>
    <message>
        <source>Modulation D&amp;epth</source>
        <translation>Modulations&amp;tiefe</translation>
    </message>
    <message>
        <source>&amp;Number of chorus</source>
        <translation>&amp;Anzahl der Stimmen</translation>
    </message>
    <message>
        <source>&amp;Size of chorus</source>
        <translation>&amp;Stärke des Chorus</translation>
    </message>
    <message>
        <source>&amp;Delay of chorus</source>
        <translation>&amp;Verzögerung des Chorus</translation>
    </message>
</context>
<context>
    <name>kelvane::CColorDlg</name>
    <message>
        <source>Color</source>
        <translation>Farbe</translation>
    </message>
    <message>
        <source>Colors</source>
        <translation>Farben</translation>
    </message>
    <message>
        <source>Current Color</source>
        <translation>Aktuelle Farbe</translation>
    </message>
    <message>
        <source>&amp;Reset</source>
        <translation>&amp;Zurücksetzen</translation>
    </message>
</context>
<context>
    <name>kelvane::CCompressExpandDlg</name>
    <message>
        <source>Compress/Expand Length</source>
        <translation>Länge stauchen/dehnen</translation>
    </message>
    <message>
        <source>Original Tempo:</source>
        <translation>Ursprüngliches Tempo:</translation>
    </message>
    <message>
        <source>New Tempo:</source>
        <translation>Neues Tempo:</translation>
    </message>
    <message>
        <source>Original Length (samples):</source>
        <translation>Ursprüngliche Länge (Samples):</translation>
    </message>
    <message>
        <source>New Length (samples):</source>
        <translation>Neue Länge (Samples):</translation>
    </message>
</context>
<context>
    <name>kelvane::CDisplayFormatDlg</name>
    <message>
        <source>&amp;Bytes</source>
        <translation>&amp;Bytes</translation>
    </message>
    <message>
        <source>&amp;Samples</source>
        <translation>&amp;Samples</translation>
    </message>
    <message>
        <source>S&amp;econds</source>
        <translation>S&amp;ekunden</translation>
    </message>
    <message>
        <source>S&amp;MPTE</source>
        <translation>S&amp;MPTE</translation>
    </message>
    <message>
        <source>&amp;Frames</source>
        <translation>&amp;Frames</translation>
    </message>
    <message>
        <source>Bea&amp;ts</source>
        <translation>Bea&amp;ts</translation>
    </message>
    <message>
        <source>Display Format</source>
        <translation>Anzeigeformat</translation>
    </message>
    <message>
        <source>Unit</source>
        <translation>Einheit</translation>
    </message>
    <message>
        <source>Frames &amp;per second:</source>
        <translation>Frames &amp;pro Sekunde:</translation>
    </message>
    <message>
        <source>Tem&amp;po (Beats per minute):</source>
        <translation>Tem&amp;po (Beats pro Minute):</translation>
    </message>
</context>
<context>
    <name>kelvane::CEchoDlg</name>
    <message>
        <source>Add Echo</source>
        <translation>Echo hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Number of echo</source>
        <translation>&amp;Anzahl der Echos</translation>
    </message>
    <message>
        <source>&amp;Delay of echo</source>
        <translation>&amp;Verzögerung des Echos</translation>
    </message>
    <message>
        <source>&amp;Size of echo</source>
        <translation>&amp;Stärke des Echos</translation>
    </message>
</context>
<context>
    <name>kelvane::CFormatChooserDlg</name>
    <message>
        <source>&amp;Format:</source>
        <translation>&amp;Format:</translation>
    </message>
    <message>
        <source>&amp;Attributes:</source>
        <translation>&amp;Eigenschaften:</translation>
    </message>
</context>
<context>
    <name>kelvane::CMainFrame</name>
    <message>
        <source>Recent File</source>
        <translation>Zuletzt geöffnete Datei</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>Standard</translation>
    </message>
</context>
<context>
    <name>kelvane::CMiscellaneousDlg</name>
    <message>
        <source>&amp;Windows temporary directory</source>
        <translation>Temporäres &amp;Windows-Verzeichnis</translation>
    </message>
    <message>
        <source>&amp;User defined directory</source>
        <translation>&amp;Benutzerdefiniertes Verzeichnis</translation>
    </message>
    <message>
        <source>&amp;Dither when reducing to 16 bits</source>
        <translation>Beim Reduzieren auf 16 Bit &amp;dithern</translation>
    </message>
    <message>
        <source>Miscellaneous</source>
        <translation>Verschiedenes</translation>
    </message>
    <message>
        <source> MB</source>
        <translation> MB</translation>
    </message>
    <message>
        <source>Half the free space</source>
        <translation>Die Hälfte des freien Platzes</translation>
    </message>
    <message>
        <source>Temporary files</source>
        <translation>Temporäre Dateien</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Undo &amp;levels:</source>
        <translation>Rückgängig-&amp;Stufen:</translation>
    </message>
    <message>
        <source>Most disk s&amp;pace for undo:</source>
        <translation>Höchster &amp;Plattenplatz für Rückgängig:</translation>
    </message>
    <message>
        <source>Free space: %1</source>
        <translation>Freier Platz: %1</translation>
    </message>
    <message>
        <source>
This folder is in memory: sounds larger than memory will not fit.</source>
        <translation>
Dieser Ordner liegt im Arbeitsspeicher: Klänge, die größer als der Arbeitsspeicher sind, passen nicht hinein.</translation>
    </message>
</context>
<context>
    <name>kelvane::COrvaneApp</name>
    <message>
        <source>Start without the splash window.</source>
        <translation>Ohne Startbild starten.</translation>
    </message>
    <message>
        <source>Start as an embedding server.</source>
        <translation>Als Einbettungsserver starten.</translation>
    </message>
    <message>
        <source>Start for automation.</source>
        <translation>Für die Automatisierung starten.</translation>
    </message>
    <message>
        <source>A sound file to open.</source>
        <translation>Eine zu öffnende Klangdatei.</translation>
    </message>
    <message>
        <source>%1 Help</source>
        <translation>%1-Hilfe</translation>
    </message>
</context>
<context>
    <name>kelvane::CPropertiesDlg</name>
    <message>
        <source>&amp;Title:</source>
        <translation>&amp;Titel:</translation>
    </message>
    <message>
        <source>&amp;Subject:</source>
        <translation>Th&amp;ema:</translation>
    </message>
    <message>
        <source>&amp;Engineer:</source>
        <translation>&amp;Techniker:</translation>
    </message>
    <message>
        <source>Copy&amp;right:</source>
        <translation>Copy&amp;right:</translation>
    </message>
    <message>
        <source>Properties</source>
        <translation>Eigenschaften</translation>
    </message>
    <message>
        <source>&amp;Comments:</source>
        <translation>&amp;Kommentare:</translation>
    </message>
    <message>
        <source>Format:</source>
        <translation>Format:</translation>
    </message>
    <message>
        <source>File format:</source>
        <translation>Dateiformat:</translation>
    </message>
</context>
<context>
    <name>kelvane::CRawDataFormatDlg</name>
    <message>
        <source>Raw File Format</source>
        <translation>Format der Rohdatei</translation>
    </message>
    <message>
        <source>&amp;Data Format:</source>
        <translation>&amp;Datenformat:</translation>
    </message>
    <message>
        <source>8 Bits unsigned</source>
        <translation>8 Bit ohne Vorzeichen</translation>
    </message>
    <message>
        <source>8 Bits signed</source>
        <translation>8 Bit mit Vorzeichen</translation>
    </message>
    <message>
        <source>16 Bits Little Endian (Intel) signed</source>
        <translation>16 Bit Little Endian (Intel) mit Vorzeichen</translation>
    </message>
    <message>
        <source>16 Bits Big Endian signed</source>
        <translation>16 Bit Big Endian mit Vorzeichen</translation>
    </message>
    <message>
        <source>16 Bits Little Endian (Intel) unsigned</source>
        <translation>16 Bit Little Endian (Intel) ohne Vorzeichen</translation>
    </message>
    <message>
        <source>16 Bits Big Endian unsigned</source>
        <translation>16 Bit Big Endian ohne Vorzeichen</translation>
    </message>
</context>
<context>
    <name>kelvane::CRawFileFormatDlg</name>
    <message>
        <source>Mono</source>
        <translation>Mono</translation>
    </message>
    <message>
        <source>Stereo</source>
        <translation>Stereo</translation>
    </message>
    <message>
        <source>Raw File Format</source>
        <translation>Format der Rohdatei</translation>
    </message>
    <message>
        <source>&amp;Sampling Rate:</source>
        <translation>&amp;Abtastrate:</translation>
    </message>
    <message>
        <source>&amp;Data Format:</source>
        <translation>&amp;Datenformat:</translation>
    </message>
    <message>
        <source>&amp;Channels:</source>
        <translation>&amp;Kanäle:</translation>
    </message>
</context>
<context>
    <name>kelvane::CRealAudioMethodDlg</name>
    <message>
        <source>Real Audio Compression Methods</source>
        <translation>Real-Audio-Kompressionsverfahren</translation>
    </message>
    <message>
        <source>Compression Method</source>
        <translation>Kompressionsverfahren</translation>
    </message>
</context>
<context>
    <name>kelvane::CRecordDlg</name>
    <message>
        <source>Recording</source>
        <translation>Aufnahme</translation>
    </message>
    <message>
        <source>Available Disk Space:</source>
        <translation>Freier Plattenplatz:</translation>
    </message>
    <message>
        <source>Recorded Samples:</source>
        <translation>Aufgenommene Samples:</translation>
    </message>
    <message>
        <source>Left:</source>
        <translation>Links:</translation>
    </message>
    <message>
        <source>Right:</source>
        <translation>Rechts:</translation>
    </message>
</context>
<context>
    <name>kelvane::CRecoverDlg</name>
    <message>
        <source>&amp;Recover</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
    <message>
        <source>&amp;Discard</source>
        <translation>&amp;Verwerfen</translation>
    </message>
    <message>
        <source>Recover Sounds</source>
        <translation>Klänge wiederherstellen</translation>
    </message>
    <message>
        <source>Kelvane ended without closing these sounds. Recover opens them as they were after the last completed change; Discard deletes them.</source>
        <translation>Kelvane wurde beendet, ohne diese Klänge zu schließen. „Wiederherstellen“ öffnet sie so, wie sie nach der letzten abgeschlossenen Änderung waren; „Verwerfen“ löscht sie.</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>Length</source>
        <translation>Länge</translation>
    </message>
    <message>
        <source>Last change</source>
        <translation>Letzte Änderung</translation>
    </message>
</context>
<context>
    <name>kelvane::CSelectionDlg</name>
    <message>
        <source>Selection...</source>
        <translation>Auswahl...</translation>
    </message>
    <message>
        <source>&amp;Start Position:</source>
        <translation>&amp;Startposition:</translation>
    </message>
    <message>
        <source>sample</source>
        <translation>Sample</translation>
    </message>
    <message>
        <source>&amp;Length:</source>
        <translation>&amp;Länge:</translation>
    </message>
    <message>
        <source>samples</source>
        <translation>Samples</translation>
    </message>
</context>
<context>
    <name>kelvane::CSilenceDlg</name>
    <message>
        <source>Insert Silence</source>
        <translation>Stille einfügen</translation>
    </message>
    <message>
        <source>&amp;Length(0.001s-60s)</source>
        <translation>&amp;Länge (0,001 s-60 s)</translation>
    </message>
</context>
<context>
    <name>kelvane::CSubFormatDlg</name>
    <message>
        <source>&amp;Uncompressed</source>
        <translation>&amp;Unkomprimiert</translation>
    </message>
    <message>
        <source>&amp;Mu-Law</source>
        <translation>&amp;Mu-Law</translation>
    </message>
    <message>
        <source>&amp;A-Law</source>
        <translation>&amp;A-Law</translation>
    </message>
    <message>
        <source>Sub-Format</source>
        <translation>Unterformat</translation>
    </message>
</context>
<context>
    <name>kelvane::CVolumeDlg</name>
    <message>
        <source>Lock left and right &amp;channels</source>
        <translation>Linken und rechten &amp;Kanal koppeln</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>Lautstärke</translation>
    </message>
    <message>
        <source>&amp;Left</source>
        <translation>&amp;Links</translation>
    </message>
    <message>
        <source>&amp;Right</source>
        <translation>&amp;Rechts</translation>
    </message>
</context>
<context>
    <name>kelvane::CWaveDevicesDlg</name>
    <message>
        <source>Wave Devices</source>
        <translation>Wave-Geräte</translation>
    </message>
    <message>
        <source>Wave &amp;In:</source>
        <translation>Wave-&amp;Eingang:</translation>
    </message>
    <message>
        <source>Wave &amp;Out:</source>
        <translation>Wave-&amp;Ausgang:</translation>
    </message>
</context>
<context>
    <name>kelvane::CWaveFormatDlg</name>
    <message>
        <source>&amp;Mono</source>
        <translation>&amp;Mono</translation>
    </message>
    <message>
        <source>&amp;Stereo</source>
        <translation>&amp;Stereo</translation>
    </message>
    <message>
        <source>&amp;8 bits</source>
        <translation>&amp;8 Bit</translation>
    </message>
    <message>
        <source>1&amp;6 bits</source>
        <translation>1&amp;6 Bit</translation>
    </message>
    <message>
        <source>Wave Format</source>
        <translation>Wave-Format</translation>
    </message>
    <message>
        <source>Sampling &amp;Rate:</source>
        <translation>&amp;Abtastrate:</translation>
    </message>
    <message>
        <source>Channels</source>
        <translation>Kanäle</translation>
    </message>
    <message>
        <source>Sample Size</source>
        <translation>Samplegröße</translation>
    </message>
</context>
<context>
    <name>kelvane::CWaveOpenDlg</name>
    <message>
        <source>&amp;Play</source>
        <translation>&amp;Wiedergeben</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>S&amp;topp</translation>
    </message>
    <message>
        <source>&amp;Auto Play</source>
        <translation>&amp;Automatisch wiedergeben</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
    <message>
        <source>Format:</source>
        <translation>Format:</translation>
    </message>
    <message>
        <source>Length:</source>
        <translation>Länge:</translation>
    </message>
    <message>
        <source>Title:</source>
        <translation>Titel:</translation>
    </message>
    <message>
        <source>Engineer:</source>
        <translation>Techniker:</translation>
    </message>
</context>
<context>
    <name>kelvane::CWaveSaveDlg</name>
    <message>
        <source>&amp;Options...</source>
        <translation>&amp;Optionen...</translation>
    </message>
    <message>
        <source>Output Format</source>
        <translation>Ausgabeformat</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>%1 ist bereits vorhanden.
Möchten Sie die Datei ersetzen?</translation>
    </message>
    <message>
        <source>Save as &amp;type:</source>
        <translation>Speichern als &amp;Typ:</translation>
    </message>
</context>
<context>
    <name>kelvane::PercentChangeBox</name>
    <message>
        <source>Changes</source>
        <translation>Änderungen</translation>
    </message>
</context>
<context>
    <name>kelvane::ProgressDialog</name>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>kelvane::RangeCheck</name>
    <message>
        <source>Please enter a number.</source>
        <translation>Bitte geben Sie eine Zahl ein.</translation>
    </message>
    <message>
        <source>Please enter a number between %1 and %2.</source>
        <translation>Bitte geben Sie eine Zahl zwischen %1 und %2 ein.</translation>
    </message>
    <message>
        <source>Please enter an integer.</source>
        <translation>Bitte geben Sie eine ganze Zahl ein.</translation>
    </message>
    <message>
        <source>Please enter an integer between %1 and %2.</source>
        <translation>Bitte geben Sie eine ganze Zahl zwischen %1 und %2 ein.</translation>
    </message>
</context>
<context>
    <name>kelvane::SegmentMethodBox</name>
    <message>
        <source>Music 1</source>
        <translation>Musik 1</translation>
    </message>
    <message>
        <source>Music 2</source>
        <translation>Musik 2</translation>
    </message>
    <message>
        <source>Bass 1</source>
        <translation>Bass 1</translation>
    </message>
    <message>
        <source>Bass 2</source>
        <translation>Bass 2</translation>
    </message>
    <message>
        <source>Methods</source>
        <translation>Verfahren</translation>
    </message>
    <message>
        <source>More accurate</source>
        <translation>Genauer</translation>
    </message>
    <message>
        <source>Better for Bass</source>
        <translation>Besser für Bässe</translation>
    </message>
    <message>
        <source>Less echo</source>
        <translation>Weniger Echo</translation>
    </message>
</context>
</TS>
