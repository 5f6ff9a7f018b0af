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
        <source>CODE</source>
        <translation>CODE</translation>
    </message>
    <message>
        <source>[FILE...]</source>
        <translation>[FICHIER…]</translation>
    </message>
    <message>
        <source>files</source>
        <translation>fichiers</translation>
    </message>
    <message>
        <source>Use the language CODE (%1) for this session only.</source>
        <translation>Utiliser la langue CODE (%1) pour cette session seulement.</translation>
    </message>
    <message>
        <source>A script (.tur) and a turtle image (.res) to open. A script that does not exist opens as a new one.</source>
        <translation>Un script (.tur) et une image de tortue (.res) à ouvrir. Un script qui n’existe pas s’ouvre comme un nouveau script.</translation>
    </message>
    <message>
        <source>Unknown language &apos;%1&apos;; the languages are: %2.</source>
        <translation>Langue inconnue «&#xa0;%1&#xa0;»&#xa0;; les langues sont&#xa0;: %2.</translation>
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
    <message>
        <source>Basics</source>
        <translation>L’essentiel</translation>
    </message>
    <message>
        <source>Going further</source>
        <translation>Pour aller plus loin</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;
&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;Speeds&lt;/span&gt;&lt;/p&gt;
&lt;p&gt;Work &amp;gt; Speed, or the box of the debug tool bar, sets how fast Run and Continue go: Instant (Ctrl+1), Fast (Ctrl+2), Normal (Ctrl+3), Slow (Ctrl+4) or Slowest (Ctrl+5). Below Instant the drawing grows segment by segment while the current line and the debugger follow the instruction being executed; Pause (F6) stops there.&lt;/p&gt;
&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;Breakpoints&lt;/span&gt;&lt;/p&gt;
&lt;p&gt;A click in the line-number gutter puts a red dot on that line or takes it away; Debug &amp;gt; Toggle Breakpoint (Ctrl+B) does the same on the line of the cursor. Run and Continue stop before an instruction of such a line. Debug &amp;gt; Remove All Breakpoints clears them all.&lt;/p&gt;
&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;Stepping&lt;/span&gt;&lt;/p&gt;
&lt;p&gt;With Work &amp;gt; Debug (F9) checked, Run (F5) stops before the first instruction. Then:&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;Step&lt;/span&gt; (F10): one instruction;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;Step Over&lt;/span&gt; (Ctrl+F10): a call and everything until it returns;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;Step Out&lt;/span&gt; (Shift+F11): until the current procedure returns;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;Step Back&lt;/span&gt; (Shift+F10): undoes the last instruction, drawing included;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;Run to Cursor&lt;/span&gt;: until the line of the text cursor;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;Continue&lt;/span&gt;: to the next breakpoint or the end;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;Stop&lt;/span&gt; (Shift+F5) ends the run, &lt;span style=&quot; font-style:italic;&quot;&gt;Restart&lt;/span&gt; (Ctrl+Shift+F5) starts it again.&lt;/p&gt;
&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;Timeline&lt;/span&gt;&lt;/p&gt;
&lt;p&gt;Under the drawing, the timeline spans every step executed so far (&amp;quot;step 161 of 327&amp;quot;). Drag it or click on it to see the run at that step: drawing, current line, registers and stacks; Step and Continue go on from there. Hover a segment of the drawing to learn which line drew it; a click selects that line. View &amp;gt; Execution counts shows how many times each line ran, left of its number.&lt;/p&gt;
&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;Stack panel&lt;/span&gt;&lt;/p&gt;
&lt;p&gt;View &amp;gt; DockWidgets &amp;gt; Stack shows the data stack (the last value pushed first) and the call stack (the procedures called and not yet returned from).&lt;/p&gt;
&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;Zoom&lt;/span&gt;&lt;/p&gt;
&lt;p&gt;Over the drawing, Ctrl+wheel, Ctrl++ and Ctrl+- zoom and Ctrl+0 resets the view; drag with the middle button, or the left one while Space is held, to move it. View &amp;gt; Fit drawing shows the whole drawing, View &amp;gt; Reset view the default view.&lt;/p&gt;
&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;Export and print&lt;/span&gt;&lt;/p&gt;
&lt;p&gt;Render &amp;gt; Export as image writes the drawing as a PNG or JPEG image of the size you choose, Render &amp;gt; Export as SVG as an SVG image; Render &amp;gt; Print prints it, or writes a PDF file. File &amp;gt; Save Image keeps the trace itself as a .res file, which Open Image loads again.&lt;/p&gt;
&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;Command line&lt;/span&gt;&lt;/p&gt;
&lt;p&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;korvane&lt;/span&gt; [--lang fr|en] [SCRIPT.tur] [TRACE.res] opens a script and a trace; a script that does not exist yet opens as a new one of that name.&lt;/p&gt;
&lt;p&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;korvane-run&lt;/span&gt; SCRIPT.tur runs a script without a window and writes its messages as SCRIPT:LINE: TEXT; --res, --image and --json save the trace, an image and a report.&lt;/p&gt;
&lt;p&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;--help&lt;/span&gt; lists the options of both, and their manual pages (man korvane, man korvane-run) tell more.&lt;/p&gt;
&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;
&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;Vitesses&lt;/span&gt;&lt;/p&gt;
&lt;p&gt;Travail &amp;gt; Vitesse, ou la liste de la barre d’outils de débogage, règle l’allure d’Exécuter et de Continuer&#xa0;: Instantanée (Ctrl+1), Rapide (Ctrl+2), Normale (Ctrl+3), Lente (Ctrl+4) ou Très lente (Ctrl+5). En dessous d’Instantanée, le dessin grandit segment par segment tandis que la ligne courante et le débogueur suivent l’instruction exécutée&#xa0;; Pause (F6) s’y arrête.&lt;/p&gt;
&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;Points d’arrêt&lt;/span&gt;&lt;/p&gt;
&lt;p&gt;Un clic dans la marge des numéros de ligne pose un point rouge sur cette ligne ou l’enlève&#xa0;; Débogage &amp;gt; Basculer le point d’arrêt (Ctrl+B) fait de même sur la ligne du curseur. Exécuter et Continuer s’arrêtent avant une instruction d’une telle ligne. Débogage &amp;gt; Supprimer tous les points d’arrêt les enlève tous.&lt;/p&gt;
&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;Pas à pas&lt;/span&gt;&lt;/p&gt;
&lt;p&gt;Quand Travail &amp;gt; Déboguer (F9) est coché, Exécuter (F5) s’arrête avant la première instruction. Ensuite&#xa0;:&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;Pas à pas&lt;/span&gt; (F10)&#xa0;: une instruction&#xa0;;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;Pas à pas principal&lt;/span&gt; (Ctrl+F10)&#xa0;: un appel et tout ce qu’il exécute jusqu’à son retour&#xa0;;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;Pas à pas sortant&lt;/span&gt; (Maj+F11)&#xa0;: jusqu’au retour de la procédure en cours&#xa0;;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;Pas en arrière&lt;/span&gt; (Maj+F10)&#xa0;: annule la dernière instruction, dessin compris&#xa0;;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;Exécuter jusqu’au curseur&lt;/span&gt;&#xa0;: jusqu’à la ligne du curseur de texte&#xa0;;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;Continuer&lt;/span&gt;&#xa0;: jusqu’au prochain point d’arrêt ou jusqu’à la fin&#xa0;;&lt;/p&gt;
&lt;p style=&quot;margin-top:0px; margin-bottom:0px;&quot;&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;Arrêter&lt;/span&gt; (Maj+F5) termine l’exécution, &lt;span style=&quot; font-style:italic;&quot;&gt;Relancer&lt;/span&gt; (Ctrl+Maj+F5) la reprend depuis le début.&lt;/p&gt;
&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;Frise chronologique&lt;/span&gt;&lt;/p&gt;
&lt;p&gt;Sous le dessin, la frise couvre toutes les étapes exécutées jusque-là («&#xa0;étape 161 sur 327&#xa0;»). Faites-la glisser ou cliquez dessus pour voir l’exécution à cette étape&#xa0;: dessin, ligne courante, registres et piles&#xa0;; Pas à pas et Continuer reprennent de là. Survolez un segment du dessin pour savoir quelle ligne l’a tracé&#xa0;; un clic sélectionne cette ligne. Affichage &amp;gt; Nombre d’exécutions montre, à gauche de son numéro, combien de fois chaque ligne s’est exécutée.&lt;/p&gt;
&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;Panneau Pile&lt;/span&gt;&lt;/p&gt;
&lt;p&gt;Affichage &amp;gt; Panneaux &amp;gt; Pile montre la pile de données (la dernière valeur empilée en premier) et la pile des appels (les procédures appelées dont on n’est pas encore revenu).&lt;/p&gt;
&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;Zoom&lt;/span&gt;&lt;/p&gt;
&lt;p&gt;Sur le dessin, Ctrl+molette, Ctrl++ et Ctrl+- zooment et Ctrl+0 rétablit la vue&#xa0;; faites glisser avec le bouton du milieu, ou avec le bouton gauche en tenant Espace, pour le déplacer. Affichage &amp;gt; Cadrer le dessin montre tout le dessin, Affichage &amp;gt; Réinitialiser la vue la vue par défaut.&lt;/p&gt;
&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;Export et impression&lt;/span&gt;&lt;/p&gt;
&lt;p&gt;Rendu &amp;gt; Exporter en image écrit le dessin en image PNG ou JPEG de la taille choisie, Rendu &amp;gt; Exporter en SVG en image SVG&#xa0;; Rendu &amp;gt; Imprimer l’imprime, ou l’écrit dans un fichier PDF. Fichier &amp;gt; Enregistrer l’image garde le tracé lui-même dans un fichier .res, qu’Ouvrir une image recharge.&lt;/p&gt;
&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;Ligne de commande&lt;/span&gt;&lt;/p&gt;
&lt;p&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;korvane&lt;/span&gt; [--lang fr|en] [SCRIPT.tur] [TRACE.res] ouvre un script et un tracé&#xa0;; un script qui n’existe pas encore s’ouvre comme un nouveau script de ce nom.&lt;/p&gt;
&lt;p&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;korvane-run&lt;/span&gt; SCRIPT.tur exécute un script sans fenêtre et écrit ses messages sous la forme SCRIPT:LIGNE: TEXTE&#xa0;; --res, --image et --json enregistrent le tracé, une image et un rapport.&lt;/p&gt;
&lt;p&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;--help&lt;/span&gt; liste les options de l’un et de l’autre, et leurs pages de manuel (man korvane, man korvane-run) en disent plus.&lt;/p&gt;
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
        <source>Save failed</source>
        <translation>Échec de l’enregistrement</translation>
    </message>
    <message>
        <source>Do you want to save the untitled script?</source>
        <translation>Voulez-vous enregistrer le script sans titre&#xa0;?</translation>
    </message>
    <message>
        <source>Do you want to save the changes to %1?</source>
        <translation>Voulez-vous enregistrer les modifications de %1&#xa0;?</translation>
    </message>
    <message>
        <source>The file could not be loaded.</source>
        <translation>Le fichier n’a pas pu être chargé.</translation>
    </message>
    <message>
        <source>The file could not be saved.</source>
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
    <message>
        <source>The turtle image could not be loaded.</source>
        <translation>Le fichier image n’a pas pu être chargé.</translation>
    </message>
    <message>
        <source>The file could not be saved.</source>
        <translation>Le fichier n’a pas pu être enregistré.</translation>
    </message>
</context>
<context>
    <name>FileChoice</name>
    <message>
        <source>%1: not opened, Korvane opens one script and one turtle image at a time.</source>
        <translation>%1&#xa0;: non ouvert, Korvane ouvre un script et une image de tortue à la fois.</translation>
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
    <message>
        <source>drawing</source>
        <translation>dessin</translation>
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
    <message>
        <source>Files not opened</source>
        <translation>Fichiers non ouverts</translation>
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
<context>
    <name>main</name>
    <message>
        <source>Korvane cannot start: its messages file cannot be read.</source>
        <translation>Korvane ne peut pas démarrer&#xa0;: son fichier de messages est illisible.</translation>
    </message>
</context>
</TS>
