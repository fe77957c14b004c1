<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>veldra::About</name>
    <message>
        <source>&lt;b&gt;%1&lt;/b&gt; - %2 %3</source>
        <translation>&lt;b&gt;%1&lt;/b&gt; - %2 %3</translation>
    </message>
    <message>
        <source>Copyright %1 %2</source>
        <translation>Copyright %1 %2</translation>
    </message>
    <message>
        <source>Visit %1 for news and updates</source>
        <translation>Neuigkeiten und Updates unter %1</translation>
    </message>
</context>
<context>
    <name>veldra::BusinessCardPage</name>
    <message>
        <source>Please wait. OCR is working...</source>
        <translation>Bitte warten. Die Texterkennung läuft...</translation>
    </message>
    <message>
        <source>Trouble with file format.</source>
        <translation>Probleme mit dem Dateiformat.</translation>
    </message>
    <message>
        <source>Can&apos;t read the card. Sorry. :(</source>
        <translation>Die Karte ist nicht lesbar. Tut mir leid. :(</translation>
    </message>
    <message>
        <source>Load photo</source>
        <translation>Foto laden</translation>
    </message>
    <message>
        <source>Business Card OCR</source>
        <translation>Visitenkarten-Texterkennung</translation>
    </message>
    <message>
        <source>OCR Result</source>
        <translation>Ergebnis der Texterkennung</translation>
    </message>
</context>
<context>
    <name>veldra::ColorSearchPage</name>
    <message>
        <source>Color search</source>
        <translation>Farbsuche</translation>
    </message>
    <message>
        <source>Search result</source>
        <translation>Suchergebnis</translation>
    </message>
    <message>
        <source>Color search result</source>
        <translation>Ergebnis der Farbsuche</translation>
    </message>
</context>
<context>
    <name>veldra::FaceSearchPage</name>
    <message>
        <source>Empty :(</source>
        <translation>Leer :(</translation>
    </message>
    <message>
        <source>Load photo</source>
        <translation>Foto laden</translation>
    </message>
    <message>
        <source>Show pixelated image</source>
        <translation>Verpixeltes Bild zeigen</translation>
    </message>
    <message>
        <source>Show censored image</source>
        <translation>Zensiertes Bild zeigen</translation>
    </message>
    <message>
        <source>Face Localizer</source>
        <translation>Gesichtserkennung</translation>
    </message>
    <message>
        <source>Localizer Result</source>
        <translation>Gefundene Gesichter</translation>
    </message>
</context>
<context>
    <name>veldra::IndexPage</name>
    <message>
        <source>Index</source>
        <translation>Index</translation>
    </message>
</context>
<context>
    <name>veldra::LicensePlatePage</name>
    <message>
        <source>Empty :(</source>
        <translation>Leer :(</translation>
    </message>
    <message>
        <source>Load photo</source>
        <translation>Foto laden</translation>
    </message>
    <message>
        <source>Show pixelated image</source>
        <translation>Verpixeltes Bild zeigen</translation>
    </message>
    <message>
        <source>Number Plate OCR</source>
        <translation>Kennzeichenerkennung</translation>
    </message>
    <message>
        <source>OCR Result</source>
        <translation>Ergebnis der Texterkennung</translation>
    </message>
</context>
<context>
    <name>veldra::LumeraxGUI</name>
    <message>
        <source>Set background to black</source>
        <translation>Hintergrund schwarz</translation>
    </message>
    <message>
        <source>Set background to white</source>
        <translation>Hintergrund weiß</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Anhalten</translation>
    </message>
    <message>
        <source>Stop indexing; the pictures indexed so far stay in the index</source>
        <translation>Indizierung anhalten; die bisher indizierten Bilder bleiben im Index</translation>
    </message>
    <message>
        <source>Indexing pictures: %1 of %2</source>
        <translation>Bilder werden indiziert: %1 von %2</translation>
    </message>
    <message>
        <source>All Supported Types</source>
        <translation>Alle unterstützten Formate</translation>
    </message>
    <message>
        <source>Windows Bitmap</source>
        <translation>Windows-Bitmap</translation>
    </message>
    <message>
        <source>Graphic Interchange Format</source>
        <translation>Graphics Interchange Format</translation>
    </message>
    <message>
        <source>Scaleable Vector Graphics</source>
        <translation>Skalierbare Vektorgrafik</translation>
    </message>
    <message>
        <source>Joint Photographic Experts Group</source>
        <translation>JPEG-Bild</translation>
    </message>
    <message>
        <source>Multiple-image Network Graphics</source>
        <translation>Multiple-image Network Graphics</translation>
    </message>
    <message>
        <source>Portable Network Graphics</source>
        <translation>Portable Network Graphics</translation>
    </message>
    <message>
        <source>Portable Bitmap</source>
        <translation>Portable Bitmap</translation>
    </message>
    <message>
        <source>Portable Graymap</source>
        <translation>Portable Graymap</translation>
    </message>
    <message>
        <source>X11 Bitmap</source>
        <translation>X11-Bitmap</translation>
    </message>
    <message>
        <source>Icon Image File Format</source>
        <translation>Symboldatei</translation>
    </message>
    <message>
        <source>JPEG 2000</source>
        <translation>JPEG 2000</translation>
    </message>
    <message>
        <source>Tagged Image File Format</source>
        <translation>TIFF-Bild</translation>
    </message>
    <message>
        <source>Unknown Format</source>
        <translation>Unbekanntes Format</translation>
    </message>
    <message>
        <source>Open Images - %1</source>
        <translation>Bilder öffnen - %1</translation>
    </message>
    <message>
        <source>Remove from Index</source>
        <translation>Aus dem Index entfernen</translation>
    </message>
    <message numerus="yes">
        <source>Remove %n picture(s) from the index?
The files themselves are not deleted.</source>
        <translation>
            <numerusform>%n Bild aus dem Index entfernen?
Die Datei selbst wird nicht gelöscht.</numerusform>
            <numerusform>%n Bilder aus dem Index entfernen?
Die Dateien selbst werden nicht gelöscht.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>veldra::MoodSearchPage</name>
    <message>
        <source>Structure</source>
        <translation>Struktur</translation>
    </message>
    <message>
        <source>Calm</source>
        <translation>Ruhig</translation>
    </message>
    <message>
        <source>Turbulent</source>
        <translation>Unruhig</translation>
    </message>
    <message>
        <source>Temperature</source>
        <translation>Farbtemperatur</translation>
    </message>
    <message>
        <source>Cold</source>
        <translation>Kalt</translation>
    </message>
    <message>
        <source>Warm</source>
        <translation>Warm</translation>
    </message>
    <message>
        <source>Mood search</source>
        <translation>Stimmungssuche</translation>
    </message>
    <message>
        <source>Search result</source>
        <translation>Suchergebnis</translation>
    </message>
    <message>
        <source>Mood search result</source>
        <translation>Ergebnis der Stimmungssuche</translation>
    </message>
</context>
<context>
    <name>veldra::RecognitionPage</name>
    <message>
        <source>Open Image - %1</source>
        <translation>Bild öffnen - %1</translation>
    </message>
    <message>
        <source>Images (*.png *.xpm *.jpg)</source>
        <translation>Bilder (*.png *.xpm *.jpg)</translation>
    </message>
</context>
<context>
    <name>veldra::SelectColorDialog</name>
    <message>
        <source>Color choice</source>
        <translation>Farbauswahl</translation>
    </message>
    <message>
        <source>Selected colors</source>
        <translation>Gewählte Farben</translation>
    </message>
    <message>
        <source>Clear selected colors</source>
        <translation>Auswahl löschen</translation>
    </message>
</context>
<context>
    <name>veldra::Setup</name>
    <message>
        <source>Preferences [%1]</source>
        <translation>Einstellungen [%1]</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Allgemein</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Suche</translation>
    </message>
</context>
<context>
    <name>veldra::SetupGeneral</name>
    <message>
        <source>General Settings</source>
        <translation>Allgemeine Einstellungen</translation>
    </message>
    <message>
        <source>Display splash screen</source>
        <translation>Startbild anzeigen</translation>
    </message>
    <message>
        <source>Move mouse wheel:</source>
        <translation>Mausrad bewegt um:</translation>
    </message>
    <message>
        <source> lines</source>
        <translation> Zeilen</translation>
    </message>
</context>
<context>
    <name>veldra::SetupSearch</name>
    <message>
        <source>Search Settings</source>
        <translation>Sucheinstellungen</translation>
    </message>
    <message>
        <source>Similarity</source>
        <translation>Ähnlichkeit</translation>
    </message>
    <message>
        <source>Less</source>
        <translation>Gering</translation>
    </message>
    <message>
        <source>Best</source>
        <translation>Beste</translation>
    </message>
    <message>
        <source>Identical</source>
        <translation>Identisch</translation>
    </message>
    <message>
        <source>Maximum search results:</source>
        <translation>Höchstens Suchergebnisse:</translation>
    </message>
    <message>
        <source> images</source>
        <translation> Bilder</translation>
    </message>
</context>
<context>
    <name>veldra::SimilarSearchPage</name>
    <message>
        <source>Similarity search</source>
        <translation>Ähnlichkeitssuche</translation>
    </message>
    <message>
        <source>Search result</source>
        <translation>Suchergebnis</translation>
    </message>
    <message>
        <source>Similarity search result</source>
        <translation>Ergebnis der Ähnlichkeitssuche</translation>
    </message>
</context>
<context>
    <name>veldra::TabWidget</name>
    <message>
        <source>Folder</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>Projects</source>
        <translation>Projekte</translation>
    </message>
    <message>
        <source>Color search</source>
        <translation>Farbsuche</translation>
    </message>
    <message>
        <source>Mood search</source>
        <translation>Stimmungssuche</translation>
    </message>
    <message>
        <source>Face search</source>
        <translation>Gesichtersuche</translation>
    </message>
    <message>
        <source>Indexed folders</source>
        <translation>Indizierte Ordner</translation>
    </message>
    <message>
        <source>Search through results again</source>
        <translation>Ergebnisse erneut durchsuchen</translation>
    </message>
</context>
<context>
    <name>veldra::ThumbnailView</name>
    <message>
        <source>Open Folder</source>
        <translation>Ordner öffnen</translation>
    </message>
    <message>
        <source>Total picture(s): </source>
        <translation>Bilder insgesamt: </translation>
    </message>
    <message>
        <source> Selected: </source>
        <translation> Ausgewählt: </translation>
    </message>
    <message>
        <source>Move</source>
        <translation>Verschieben</translation>
    </message>
    <message>
        <source>Do you want to move the files?</source>
        <translation>Sollen die Dateien verschoben werden?</translation>
    </message>
</context>
<context>
    <name>veldra::ThumbnailWidget</name>
    <message>
        <source>Similar Files</source>
        <translation>Ähnliche Dateien</translation>
    </message>
    <message>
        <source>Compare Files</source>
        <translation>Dateien vergleichen</translation>
    </message>
    <message>
        <source>Remove File from Index</source>
        <translation>Datei aus dem Index entfernen</translation>
    </message>
    <message>
        <source>Remove Files from Index</source>
        <translation>Dateien aus dem Index entfernen</translation>
    </message>
</context>
<context>
    <name>veldra::ToolBar</name>
    <message>
        <source>Color</source>
        <translation>Farbe</translation>
    </message>
    <message>
        <source>Mood</source>
        <translation>Stimmung</translation>
    </message>
    <message>
        <source>Faces</source>
        <translation>Gesichter</translation>
    </message>
    <message>
        <source>Number plates</source>
        <translation>Kennzeichen</translation>
    </message>
    <message>
        <source>Character</source>
        <translation>Visitenkarten</translation>
    </message>
    <message>
        <source>Index</source>
        <translation>Index</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>Vor</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Preferences</source>
        <translation>Einstellungen</translation>
    </message>
</context>
<context>
    <name>veldra::TopBar</name>
    <message>
        <source>Add images</source>
        <translation>Bilder hinzufügen</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Minimieren</translation>
    </message>
    <message>
        <source>Maximize</source>
        <translation>Maximieren</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>Wiederherstellen</translation>
    </message>
</context>
<context>
    <name>veldra::ZoomWidget</name>
    <message>
        <source>Search similar</source>
        <translation>Ähnliche suchen</translation>
    </message>
    <message>
        <source>Recognize faces</source>
        <translation>Gesichter erkennen</translation>
    </message>
</context>
</TS>
