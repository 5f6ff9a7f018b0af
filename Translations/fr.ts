<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr" sourcelanguage="en">
<context>
    <name>AsyncTraceRenderer</name>
    <message>
        <source>There is not enough memory to draw the picture (%1 x %2 pixels).</source>
        <translation>Il n’y a pas assez de mémoire pour dessiner l’image (%1 x %2 pixels).</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Write, run and debug scripts that steer a drawing turtle.</source>
        <translation>Écrire, exécuter et déboguer des scripts qui pilotent une tortue dessinatrice.</translation>
    </message>
    <message>
        <source>Use the language CODE (fr, en) for this session only.</source>
        <translation>Utiliser la langue CODE (fr, en) pour cette session seulement.</translation>
    </message>
    <message>
        <source>CODE</source>
        <translation>CODE</translation>
    </message>
    <message>
        <source>A script (.tur) and a turtle image (.res) to open.</source>
        <translation>Un script (.tur) et une image de tortue (.res) à ouvrir.</translation>
    </message>
    <message>
        <source>[FILE...]</source>
        <translation>[FICHIER…]</translation>
    </message>
    <message>
        <source>%1: not opened, Korvane opens one script and one turtle image at a time.</source>
        <translation>%1&#xa0;: non ouvert, Korvane ouvre un script et une image de tortue à la fois.</translation>
    </message>
    <message>
        <source>files</source>
        <translation>fichiers</translation>
    </message>
</context>
<context>
    <name>DockWidget</name>
    <message>
        <source>Help</source>
        <translation>Aide</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;
&lt;p&gt;Korvane is an Integrated Developement Environement, with an editor where you can write your script, and some other widget which are there to help you to code. You can write your turtle code (.tur) to take the control of the turtle to move it.&lt;br/&gt;&lt;/p&gt;
&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;Fonctions :&lt;/span&gt;&lt;/p&gt;
&lt;p&gt;An Editor : it shows line number and apply syntaxic coloration, especially made for the turtle code.&lt;/p&gt;
&lt;p&gt;An interpreter : it realize the syntaxic analysis of the code and then execute in the virtual machine. You can use a debug mode.&lt;/p&gt;
&lt;p&gt;A Debug Mode : it shows usefull informations about the state of the execution in a dockwidget at the bottom of the mainwindow. In the editor you can see the progression of the execution.&lt;/p&gt;
&lt;p&gt;Save : You can save or load from .res file some turtle trace.&lt;/p&gt;
&lt;p&gt;Render : You can export the turtle trace as image, there are two formats : PNG or JPG.&lt;/p&gt;
&lt;p&gt;Trace : In the appropriate dockwidget you can choose the trace properties like color, width etc...&lt;/p&gt;
&lt;p&gt;Language : The application is now available in French and in English.&lt;/p&gt;
&lt;p&gt;&lt;br/&gt;&lt;/p&gt;
&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;Memo Syntax :&lt;/span&gt;&lt;/p&gt;
&lt;p&gt;For more information, look at the documentation.&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;put&lt;/span&gt; : put:Val1, Val2;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;move&lt;/span&gt; : move:Val;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;left&lt;/span&gt; : left; or left:Val;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;right&lt;/span&gt; : right; or right:Val;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;write&lt;/span&gt; : write:Y; or write:N;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;jmpax&lt;/span&gt; : jmpax:LABEL;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;jmpbx&lt;/span&gt; : jmpbx:LABEL;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;jmpe&lt;/span&gt; : jmpe:Val1, Val2, LABEL;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;jmpg&lt;/span&gt; : jmpg:Val1, Val2, LABEL;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;jmpge&lt;/span&gt; : jmpge:Val1, Val2, LABEL;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;jmpl&lt;/span&gt; : jmpl:Val1, Val2, LABEL;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;jmple&lt;/span&gt; : jmple:Val1, Val2, LABEL;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;jmpne&lt;/span&gt; : jmpne:Val1, Val2, LABEL;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;loop&lt;/span&gt; : loop:LABEL;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;push&lt;/span&gt; : push:Val;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;pop&lt;/span&gt; : pop:REGISTER;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;define&lt;/span&gt; : define:LABEL;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;proc&lt;/span&gt; : proc:PROC_NAME;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;call&lt;/span&gt; : call:PROC_NAME;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;ret&lt;/span&gt; : ret;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;end&lt;/span&gt; : end;&lt;br/&gt;&lt;/p&gt;
&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;
&lt;p&gt;Korvane est un environnement de développement intégré&#xa0;: un éditeur où vous écrivez votre script, entouré de panneaux qui vous aident à programmer. Écrivez votre code tortue (.tur) pour prendre les commandes de la tortue et la faire se déplacer.&lt;br/&gt;&lt;/p&gt;
&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;Fonctionnalités&#xa0;:&lt;/span&gt;&lt;/p&gt;
&lt;p&gt;Un éditeur&#xa0;: il affiche les numéros de ligne et colore la syntaxe propre au code tortue.&lt;/p&gt;
&lt;p&gt;Un interpréteur&#xa0;: il analyse la syntaxe du code, puis l’exécute dans la machine virtuelle. Vous pouvez aussi utiliser le mode débogage.&lt;/p&gt;
&lt;p&gt;Un mode débogage&#xa0;: il affiche des informations utiles sur l’état de l’exécution dans un panneau en bas de la fenêtre principale. Dans l’éditeur, vous suivez la progression de l’exécution.&lt;/p&gt;
&lt;p&gt;Enregistrement&#xa0;: vous pouvez enregistrer le tracé de la tortue dans un fichier .res et le rouvrir plus tard.&lt;/p&gt;
&lt;p&gt;Rendu&#xa0;: vous pouvez exporter le tracé de la tortue en image, au format PNG ou JPG.&lt;/p&gt;
&lt;p&gt;Tracé&#xa0;: dans le panneau prévu pour cela, vous choisissez les propriétés du trait&#xa0;: couleur, épaisseur, etc.&lt;/p&gt;
&lt;p&gt;Langue&#xa0;: l’application est disponible en français et en anglais.&lt;/p&gt;
&lt;p&gt;&lt;br/&gt;&lt;/p&gt;
&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;Mémo de syntaxe&#xa0;:&lt;/span&gt;&lt;/p&gt;
&lt;p&gt;Pour en savoir plus, consultez la documentation.&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;put&lt;/span&gt;&#xa0;: put:Val1, Val2;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;move&lt;/span&gt;&#xa0;: move:Val;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;left&lt;/span&gt;&#xa0;: left; ou left:Val;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;right&lt;/span&gt;&#xa0;: right; ou right:Val;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;write&lt;/span&gt;&#xa0;: write:Y; ou write:N;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;jmpax&lt;/span&gt;&#xa0;: jmpax:ETIQUETTE;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;jmpbx&lt;/span&gt;&#xa0;: jmpbx:ETIQUETTE;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;jmpe&lt;/span&gt;&#xa0;: jmpe:Val1, Val2, ETIQUETTE;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;jmpg&lt;/span&gt;&#xa0;: jmpg:Val1, Val2, ETIQUETTE;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;jmpge&lt;/span&gt;&#xa0;: jmpge:Val1, Val2, ETIQUETTE;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;jmpl&lt;/span&gt;&#xa0;: jmpl:Val1, Val2, ETIQUETTE;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;jmple&lt;/span&gt;&#xa0;: jmple:Val1, Val2, ETIQUETTE;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;jmpne&lt;/span&gt;&#xa0;: jmpne:Val1, Val2, ETIQUETTE;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;loop&lt;/span&gt;&#xa0;: loop:ETIQUETTE;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;push&lt;/span&gt;&#xa0;: push:Val;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;pop&lt;/span&gt;&#xa0;: pop:REGISTRE;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;define&lt;/span&gt;&#xa0;: define:ETIQUETTE;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;proc&lt;/span&gt;&#xa0;: proc:NOM_PROC;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;call&lt;/span&gt;&#xa0;: call:NOM_PROC;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;ret&lt;/span&gt;&#xa0;: ret;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;end&lt;/span&gt;&#xa0;: end;&lt;br/&gt;&lt;/p&gt;
&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
</context>
<context>
    <name>Document</name>
    <message>
        <source>Turtle files (*.tur);;Other files (*.*)</source>
        <translation>Fichiers tortue (*.tur);;Autres fichiers (*.*)</translation>
    </message>
    <message>
        <source>Do you want to save .tur file ?</source>
        <translation>Voulez-vous enregistrer le fichier .tur&#xa0;?</translation>
    </message>
    <message>
        <source>Open a turtle file</source>
        <translation>Ouvrir un fichier tortue</translation>
    </message>
    <message>
        <source>Save the file</source>
        <translation>Enregistrer le fichier</translation>
    </message>
    <message>
        <source>Load failed</source>
        <translation>Échec du chargement</translation>
    </message>
    <message>
        <source>The loading of the file have failed</source>
        <translation>Le fichier n’a pas pu être chargé.</translation>
    </message>
    <message>
        <source>Save failed</source>
        <translation>Échec de l’enregistrement</translation>
    </message>
    <message>
        <source>The save of the file have failed</source>
        <translation>Le fichier n’a pas pu être enregistré.</translation>
    </message>
</context>
<context>
    <name>DrawingFiles</name>
    <message>
        <source>Turtle images(*.res);;Other files (*.*)</source>
        <translation>Images de tortue (*.res);;Autres fichiers (*.*)</translation>
    </message>
    <message>
        <source>Open a turtle image</source>
        <translation>Ouvrir une image de tortue</translation>
    </message>
    <message>
        <source>Load failed</source>
        <translation>Échec du chargement</translation>
    </message>
    <message>
        <source>The loading of the image file have failed</source>
        <translation>Le fichier image n’a pas pu être chargé.</translation>
    </message>
    <message>
        <source>%1 is not a turtle image: it must start with the line &quot;Tur=Res&quot;, followed by one line &quot;Y x y&quot; or &quot;N x y&quot; per point.</source>
        <translation>%1 n’est pas une image de tortue&#xa0;: elle doit commencer par la ligne «&#xa0;Tur=Res&#xa0;», suivie d’une ligne «&#xa0;Y x y&#xa0;» ou «&#xa0;N x y&#xa0;» par point.</translation>
    </message>
    <message>
        <source>Trace partly loaded</source>
        <translation>Trace chargée en partie</translation>
    </message>
    <message>
        <source>The trace ends at an empty line; lines left unread after it: %L1.</source>
        <translation>La trace s’arrête à une ligne vide&#xa0;; lignes laissées sans lecture après elle&#xa0;: %L1.</translation>
    </message>
    <message>
        <source>Save the Turtle Image</source>
        <translation>Enregistrer l’image de tortue</translation>
    </message>
    <message>
        <source>Save failed</source>
        <translation>Échec de l’enregistrement</translation>
    </message>
    <message>
        <source>The save of the file have failed</source>
        <translation>Le fichier n’a pas pu être enregistré.</translation>
    </message>
    <message>
        <source>Save turtle trace as...</source>
        <translation>Enregistrer le tracé sous…</translation>
    </message>
    <message>
        <source>SVG image (*.svg)</source>
        <translation>image SVG (*.svg)</translation>
    </message>
    <message>
        <source>Printing failed</source>
        <translation>Échec de l’impression</translation>
    </message>
    <message>
        <source>The drawing could not be printed.</source>
        <translation>Le dessin n’a pas pu être imprimé.</translation>
    </message>
</context>
<context>
    <name>ImageExport</name>
    <message>
        <source>The image was not written to %1: %2</source>
        <translation>L’image n’a pas été écrite dans %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>The image size %1 x %2 is not valid: both sides must be at least 1 pixel.</source>
        <translation>La taille d’image %1 × %2 n’est pas valide&#xa0;: chaque côté doit mesurer au moins 1 pixel.</translation>
    </message>
    <message>
        <source>its name does not end with the suffix of an image format (such as .png, .jpg or .jpeg).</source>
        <translation>son nom ne se termine pas par l’extension d’un format d’image (comme .png, .jpg ou .jpeg).</translation>
    </message>
    <message>
        <source>There is not enough memory for an image of %1 x %2 pixels.</source>
        <translation>La mémoire ne suffit pas pour une image de %1 × %2 pixels.</translation>
    </message>
    <message>
        <source>a JPEG image is at most %1 pixels wide and high; %2 x %3 is larger.</source>
        <translation>une image JPEG mesure au plus %1 pixels de large et de haut&#xa0;; %2 x %3 est plus grand.</translation>
    </message>
    <message>
        <source>An image of %1 x %2 pixels is over the memory limit of %3 pixels.</source>
        <translation>Une image de %1 x %2 pixels dépasse la limite de mémoire de %3 pixels.</translation>
    </message>
    <message>
        <source>the image library could not encode it.</source>
        <translation>la bibliothèque d’images n’a pas pu l’encoder.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>DockWidgets</source>
        <translation>Panneaux</translation>
    </message>
    <message>
        <source>ToolBars</source>
        <translation>Barres d’outils</translation>
    </message>
    <message>
        <source>The Korvane team</source>
        <translation>L’équipe Korvane</translation>
    </message>
    <message>
        <source>Version: </source>
        <translation>Version&#xa0;: </translation>
    </message>
    <message>
        <source>Created by :</source>
        <translation>Créé par&#xa0;:</translation>
    </message>
    <message>
        <source>Script stopped</source>
        <translation>Script arrêté</translation>
    </message>
    <message>
        <source>The script was stopped because it was taking too much memory (%L1 MB).</source>
        <translation>Le script a été arrêté parce qu’il occupait trop de mémoire (%L1 Mo).</translation>
    </message>
</context>
<context>
    <name>MainWindowClass</name>
    <message>
        <source>MainWindow</source>
        <translation>Fenêtre principale</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Affichage</translation>
    </message>
    <message>
        <source>&amp;Work</source>
        <translation>&amp;Travail</translation>
    </message>
    <message>
        <source>Debug</source>
        <translation>Débogage</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Options</translation>
    </message>
    <message>
        <source>&amp;Render</source>
        <translation>&amp;Rendu</translation>
    </message>
    <message>
        <source>&amp;Language</source>
        <translation>&amp;Langue</translation>
    </message>
    <message>
        <source>&amp;?</source>
        <translation>&amp;?</translation>
    </message>
    <message>
        <source>Main Tool Bar</source>
        <translation>Barre d’outils principale</translation>
    </message>
    <message>
        <source>Debug Tool Bar</source>
        <translation>Barre d’outils de débogage</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>&amp;Ouvrir</translation>
    </message>
    <message>
        <source>Ctrl+O</source>
        <translation>Ctrl+O</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Enregistrer</translation>
    </message>
    <message>
        <source>Ctrl+S</source>
        <translation>Ctrl+S</translation>
    </message>
    <message>
        <source>Save &amp;As</source>
        <translation>Enregistrer &amp;sous</translation>
    </message>
    <message>
        <source>Ctrl+Shift+S</source>
        <translation>Ctrl+Shift+S</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Fermer</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>&amp;About us</source>
        <translation>À &amp;propos</translation>
    </message>
    <message>
        <source>&amp;Editor</source>
        <translation>Édi&amp;teur</translation>
    </message>
    <message>
        <source>Ctrl+E</source>
        <translation>Ctrl+E</translation>
    </message>
    <message>
        <source>&amp;Write</source>
        <translation>É&amp;crire</translation>
    </message>
    <message>
        <source>Ctrl+W</source>
        <translation>Ctrl+W</translation>
    </message>
    <message>
        <source>&amp;Clear</source>
        <translation>&amp;Effacer</translation>
    </message>
    <message>
        <source>Ctrl+Del</source>
        <translation>Ctrl+Del</translation>
    </message>
    <message>
        <source>&amp;Run</source>
        <translation>E&amp;xécuter</translation>
    </message>
    <message>
        <source>F5</source>
        <translation>F5</translation>
    </message>
    <message>
        <source>&amp;Debug</source>
        <translation>&amp;Déboguer</translation>
    </message>
    <message>
        <source>F9</source>
        <translation>F9</translation>
    </message>
    <message>
        <source>.&amp;Tur files default directory</source>
        <translation>Dossier par défaut des fichiers .&amp;tur</translation>
    </message>
    <message>
        <source>&amp;Export as image</source>
        <translation>&amp;Exporter en image</translation>
    </message>
    <message>
        <source>Step</source>
        <translation>Pas à pas</translation>
    </message>
    <message>
        <source>F10</source>
        <translation>F10</translation>
    </message>
    <message>
        <source>Open &amp;Image</source>
        <translation>Ouvrir une &amp;image</translation>
    </message>
    <message>
        <source>Save &amp;Image</source>
        <translation>Enregistrer l’i&amp;mage</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Arrêter</translation>
    </message>
    <message>
        <source>Alt+F5</source>
        <translation>Alt+F5</translation>
    </message>
    <message>
        <source>Continue</source>
        <translation>Continuer</translation>
    </message>
    <message>
        <source>Alt+Shift+F5</source>
        <translation>Alt+Shift+F5</translation>
    </message>
    <message>
        <source>Restart</source>
        <translation>Relancer</translation>
    </message>
    <message>
        <source>Ctrl+Alt+F5</source>
        <translation>Ctrl+Alt+F5</translation>
    </message>
    <message>
        <source>.&amp;Res files default directory</source>
        <translation>Dossier par défaut des fichiers .&amp;res</translation>
    </message>
    <message>
        <source>&amp;Render files default directory</source>
        <translation>Dossier par défaut des &amp;images exportées</translation>
    </message>
    <message>
        <source>&amp;System Language</source>
        <translation>Langue du &amp;système</translation>
    </message>
    <message>
        <source>&amp;French</source>
        <translation>&amp;Français</translation>
    </message>
    <message>
        <source>&amp;English</source>
        <translation>&amp;Anglais</translation>
    </message>
    <message>
        <source>S&amp;peed</source>
        <translation>&amp;Vitesse</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>F6</source>
        <translation>F6</translation>
    </message>
    <message>
        <source>Step Over</source>
        <translation>Pas à pas principal</translation>
    </message>
    <message>
        <source>Ctrl+F10</source>
        <translation>Ctrl+F10</translation>
    </message>
    <message>
        <source>Step Out</source>
        <translation>Pas à pas sortant</translation>
    </message>
    <message>
        <source>Shift+F11</source>
        <translation>Shift+F11</translation>
    </message>
    <message>
        <source>Toggle &amp;Breakpoint</source>
        <translation>Basculer le &amp;point d’arrêt</translation>
    </message>
    <message>
        <source>Ctrl+B</source>
        <translation>Ctrl+B</translation>
    </message>
    <message>
        <source>Remove All Breakpoints</source>
        <translation>Supprimer tous les points d’arrêt</translation>
    </message>
    <message>
        <source>&amp;Instant</source>
        <translation>&amp;Instantanée</translation>
    </message>
    <message>
        <source>Ctrl+1</source>
        <translation>Ctrl+1</translation>
    </message>
    <message>
        <source>&amp;Fast</source>
        <translation>&amp;Rapide</translation>
    </message>
    <message>
        <source>Ctrl+2</source>
        <translation>Ctrl+2</translation>
    </message>
    <message>
        <source>&amp;Normal</source>
        <translation>&amp;Normale</translation>
    </message>
    <message>
        <source>Ctrl+3</source>
        <translation>Ctrl+3</translation>
    </message>
    <message>
        <source>&amp;Slow</source>
        <translation>&amp;Lente</translation>
    </message>
    <message>
        <source>Ctrl+4</source>
        <translation>Ctrl+4</translation>
    </message>
    <message>
        <source>S&amp;lowest</source>
        <translation>Très l&amp;ente</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>É&amp;dition</translation>
    </message>
    <message>
        <source>Open &amp;Example</source>
        <translation>Ouvrir un &amp;exemple</translation>
    </message>
    <message>
        <source>&amp;Recent Files</source>
        <translation>Fichiers &amp;récents</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Nouveau</translation>
    </message>
    <message>
        <source>Ctrl+N</source>
        <translation>Ctrl+N</translation>
    </message>
    <message>
        <source>Ctrl+5</source>
        <translation>Ctrl+5</translation>
    </message>
    <message>
        <source>Export as &amp;SVG</source>
        <translation>Exporter en &amp;SVG</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Imprimer…</translation>
    </message>
    <message>
        <source>&amp;Fit drawing</source>
        <translation>&amp;Cadrer le dessin</translation>
    </message>
    <message>
        <source>&amp;Reset view</source>
        <translation>&amp;Réinitialiser la vue</translation>
    </message>
    <message>
        <source>Step Bac&amp;k</source>
        <translation>Pas en a&amp;rrière</translation>
    </message>
    <message>
        <source>Shift+F10</source>
        <translation>Shift+F10</translation>
    </message>
    <message>
        <source>E&amp;xecution counts</source>
        <translation>Nombre d’e&amp;xécutions</translation>
    </message>
</context>
<context>
    <name>MemorySafety</name>
    <message>
        <source>The file is too large for the memory left: opening it would take about %L1 MB, and %L2 MB are left.</source>
        <translation>Le fichier est trop volumineux pour la mémoire restante&#xa0;: l’ouvrir demanderait environ %L1 Mo, et il reste %L2 Mo.</translation>
    </message>
    <message>
        <source>There was not enough memory: nothing was changed.</source>
        <translation>Il n’y avait pas assez de mémoire&#xa0;: rien n’a été modifié.</translation>
    </message>
</context>
<context>
    <name>OutputFile</name>
    <message>
        <source>The file can only be opened once, to write it whole.</source>
        <translation>Le fichier ne peut être ouvert qu’une fois, pour l’écrire en entier.</translation>
    </message>
    <message>
        <source>%1; the file on disk may now be incomplete</source>
        <translation>%1&#xa0;; le fichier sur le disque est peut-être incomplet</translation>
    </message>
    <message>
        <source>The writing was cancelled</source>
        <translation>L’écriture a été annulée</translation>
    </message>
    <message>
        <source>No program is reading from this pipe</source>
        <translation>Aucun programme ne lit ce tube</translation>
    </message>
</context>
<context>
    <name>Prompts</name>
    <message>
        <source>Select Default Directory</source>
        <translation>Choisir le dossier par défaut</translation>
    </message>
</context>
<context>
    <name>QCommandLineParser</name>
    <message>
        <source>Displays help on commandline options.</source>
        <translation>Afficher l’aide sur les options de la ligne de commande.</translation>
    </message>
    <message>
        <source>Displays help including Qt specific options.</source>
        <translation>Afficher l’aide, options propres à Qt comprises.</translation>
    </message>
</context>
<context>
    <name>QDebuggerInterface</name>
    <message>
        <source>Values</source>
        <translation>Valeurs</translation>
    </message>
</context>
<context>
    <name>QEditorPane</name>
    <message>
        <source>Go to Line</source>
        <translation>Aller à la ligne</translation>
    </message>
    <message>
        <source>Line (1 to %1):</source>
        <translation>Ligne (1 à %1)&#xa0;:</translation>
    </message>
    <message>
        <source>&amp;Find...</source>
        <translation>&amp;Rechercher…</translation>
    </message>
    <message>
        <source>Find &amp;Next</source>
        <translation>Occurrence &amp;suivante</translation>
    </message>
    <message>
        <source>Find &amp;Previous</source>
        <translation>Occurrence &amp;précédente</translation>
    </message>
    <message>
        <source>&amp;Replace...</source>
        <translation>R&amp;emplacer…</translation>
    </message>
    <message>
        <source>&amp;Go to Line...</source>
        <translation>&amp;Aller à la ligne…</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>Ann&amp;uler</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>Cou&amp;per</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Copier</translation>
    </message>
    <message>
        <source>Select &amp;All</source>
        <translation>Tout sélec&amp;tionner</translation>
    </message>
    <message>
        <source>Re&amp;do</source>
        <translation>Réta&amp;blir</translation>
    </message>
    <message>
        <source>Pa&amp;ste</source>
        <translation>C&amp;oller</translation>
    </message>
</context>
<context>
    <name>QFindBar</name>
    <message>
        <source>Find:</source>
        <translation>Rechercher&#xa0;:</translation>
    </message>
    <message>
        <source>Find the previous occurrence (Shift+F3)</source>
        <translation>Aller à l’occurrence précédente (Maj+F3)</translation>
    </message>
    <message>
        <source>Find the next occurrence (F3)</source>
        <translation>Aller à l’occurrence suivante (F3)</translation>
    </message>
    <message>
        <source>Match case</source>
        <translation>Respecter la casse</translation>
    </message>
    <message>
        <source>Close (Escape)</source>
        <translation>Fermer (Échap)</translation>
    </message>
    <message>
        <source>Replace with:</source>
        <translation>Remplacer par&#xa0;:</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Remplacer</translation>
    </message>
    <message>
        <source>Replace All</source>
        <translation>Tout remplacer</translation>
    </message>
    <message>
        <source>Not found</source>
        <translation>Introuvable</translation>
    </message>
    <message>
        <source>Continued from the end</source>
        <translation>Recherche reprise à la fin</translation>
    </message>
    <message>
        <source>Continued from the start</source>
        <translation>Recherche reprise au début</translation>
    </message>
    <message>
        <source>Replacements: %1</source>
        <translation>Remplacements&#xa0;: %1</translation>
    </message>
</context>
<context>
    <name>QPlatformTheme</name>
    <message>
        <source>Discard</source>
        <translation>Ne pas enregistrer</translation>
    </message>
</context>
<context>
    <name>QTimelineBar</name>
    <message>
        <source>Drag to show the run at another step</source>
        <translation>Faites glisser pour voir l’exécution à une autre étape</translation>
    </message>
    <message>
        <source>step %1 of %2</source>
        <translation>étape %1 sur %2</translation>
    </message>
</context>
<context>
    <name>QTurtleOutputArea</name>
    <message>
        <source>There is not enough memory to draw the picture (%1 x %2 pixels).</source>
        <translation>Il n’y a pas assez de mémoire pour dessiner l’image (%1 x %2 pixels).</translation>
    </message>
</context>
<context>
    <name>QTurtleTracePropertiesPreviewWidget</name>
    <message>
        <source>QTurtleTracePropertiesPreviewWidget</source>
        <translation>QTurtleTracePropertiesPreviewWidget</translation>
    </message>
</context>
<context>
    <name>RecoveryStore</name>
    <message>
        <source>Korvane ended without saving the script you were editing. Do you want to restore the unsaved text?</source>
        <translation>Korvane s’est arrêté sans enregistrer le script que vous modifiiez. Voulez-vous restaurer le texte non enregistré&#xa0;?</translation>
    </message>
</context>
<context>
    <name>RunProgressDialog</name>
    <message>
        <source>&amp;Stop</source>
        <translation>&amp;Arrêter</translation>
    </message>
    <message>
        <source>&amp;Pause</source>
        <translation>&amp;Pause</translation>
    </message>
    <message>
        <source>The script is running: %L1 instructions executed.</source>
        <translation>Le script est en cours d’exécution&#xa0;: %L1 instructions exécutées.</translation>
    </message>
</context>
<context>
    <name>TimeTravel</name>
    <message>
        <source>Drawn outside this run</source>
        <translation>Tracé hors de cette exécution</translation>
    </message>
    <message>
        <source>Line %1, step %2</source>
        <translation>Ligne %1, étape %2</translation>
    </message>
</context>
<context>
    <name>m_debugInterface</name>
    <message>
        <source>Debugger</source>
        <translation>Débogueur</translation>
    </message>
</context>
<context>
    <name>m_dialog</name>
    <message>
        <source>Render dialogue</source>
        <translation>Exporter en image</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;Width&#xa0;: &lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;Largeur&#xa0;: &lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source> px</source>
        <translation>&#xa0;px</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;Height&#xa0;: &lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;Hauteur&#xa0;: &lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Show Turtle</source>
        <translation>Afficher la tortue</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;Output format&#xa0;: &lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;Format de l’image&#xa0;: &lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>png image (*.png)</source>
        <translation>Image PNG (*.png)</translation>
    </message>
    <message>
        <source>jpeg image (*.jpeg *.jpg)</source>
        <translation>Image JPEG (*.jpeg *.jpg)</translation>
    </message>
</context>
<context>
    <name>m_errorLister</name>
    <message>
        <source>List of Errors</source>
        <translation>Liste des erreurs</translation>
    </message>
</context>
<context>
    <name>m_turtleTraceProperties</name>
    <message>
        <source>Turtle trace properties</source>
        <translation>Propriétés du tracé</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p align=&quot;center&quot;&gt;Overview&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p align=&quot;center&quot;&gt;Aperçu&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>Couleur</translation>
    </message>
    <message>
        <source>CapStyle</source>
        <translation>Extrémités</translation>
    </message>
    <message>
        <source>SquareCap</source>
        <translation>Carrées</translation>
    </message>
    <message>
        <source>FlatCap</source>
        <translation>Plates</translation>
    </message>
    <message>
        <source>RoundCap</source>
        <translation>Arrondies</translation>
    </message>
    <message>
        <source>JoinStyle</source>
        <translation>Jointures</translation>
    </message>
    <message>
        <source>BevelJoin</source>
        <translation>Biseautées</translation>
    </message>
    <message>
        <source>MiterJoin</source>
        <translation>En pointe</translation>
    </message>
    <message>
        <source>RoundJoin</source>
        <translation>Arrondies</translation>
    </message>
    <message>
        <source>PenStyle</source>
        <translation>Trait</translation>
    </message>
    <message>
        <source>SolidLine</source>
        <translation>Continu</translation>
    </message>
    <message>
        <source>DashLine</source>
        <translation>Tirets</translation>
    </message>
    <message>
        <source>DotLine</source>
        <translation>Pointillés</translation>
    </message>
    <message>
        <source>DashDotLine</source>
        <translation>Tiret-point</translation>
    </message>
    <message>
        <source>DashDotDotLine</source>
        <translation>Tiret-point-point</translation>
    </message>
    <message>
        <source>CustomDashLine</source>
        <translation>Personnalisé</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Épaisseur</translation>
    </message>
</context>
</TS>
