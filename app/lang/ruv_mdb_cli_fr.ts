<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>MainWindow</name>
    <message>
        <source>data oparation console</source>
        <translation>console d'opérations sur les données</translation>
    </message>
    <message>
        <source>file(&amp;f)</source>
        <translation>fichier(&amp;f)</translation>
    </message>
    <message>
        <source>database(&amp;d)</source>
        <translation>base de données(&amp;d)</translation>
    </message>
    <message>
        <source>edit(&amp;e)</source>
        <translation>édition(&amp;e)</translation>
    </message>
    <message>
        <source>view(&amp;v)</source>
        <translation>affichage(&amp;v)</translation>
    </message>
    <message>
        <source>icon(&amp;i)</source>
        <translation>icônes(&amp;i)</translation>
    </message>
    <message>
        <source>window</source>
        <translation>fenêtres</translation>
    </message>
    <message>
        <source>option(&amp;o)</source>
        <translation>options(&amp;o)</translation>
    </message>
    <message>
        <source>language</source>
        <translation>langue</translation>
    </message>
    <message>
        <source>help(&amp;h)</source>
        <translation>aide(&amp;h)</translation>
    </message>
    <message>
        <source>document(&amp;d)</source>
        <translation>documentation(&amp;d)</translation>
    </message>
    <message>
        <source>toolBar</source>
        <translation>barre d'outils</translation>
    </message>
    <message>
        <source>big(&amp;b)</source>
        <translation>grandes(&amp;b)</translation>
    </message>
    <message>
        <source>normal(&amp;n)</source>
        <translation>normales(&amp;n)</translation>
    </message>
    <message>
        <source>small(&amp;s)</source>
        <translation>petites(&amp;s)</translation>
    </message>
    <message>
        <source>database</source>
        <translation>base de données</translation>
    </message>
    <message>
        <source>log</source>
        <translation>journal</translation>
    </message>
    <message>
        <source>toolbar(&amp;t)</source>
        <translation>barre d'outils(&amp;t)</translation>
    </message>
    <message>
        <source>statusbar(&amp;s)</source>
        <translation>barre d'état(&amp;s)</translation>
    </message>
    <message>
        <source>fullscreen(&amp;f)</source>
        <translation>plein écran(&amp;f)</translation>
    </message>
    <message>
        <source>Ctrl+Shift+F11</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>about(&amp;a)</source>
        <translation>à propos(&amp;a)</translation>
    </message>
    <message>
        <source>online reference(&amp;o)</source>
        <translation>référence en ligne(&amp;o)</translation>
    </message>
    <message>
        <source>local(&amp;l)</source>
        <translation>locale(&amp;l)</translation>
    </message>
    <message>
        <source>update(&amp;u)</source>
        <translation>mise à jour(&amp;u)</translation>
    </message>
    <message>
        <source>preference(&amp;p)</source>
        <translation>préférences(&amp;p)</translation>
    </message>
    <message>
        <source> 简体中文(&amp;z)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>English(&amp;e)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Français(&amp;f)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>日本語(&amp;j)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>there is new version, please update from website!</source>
        <translation>une nouvelle version existe, mettez à jour depuis le site web !</translation>
    </message>
    <message>
        <source>the current version is latest version!</source>
        <translation>la version actuelle est la plus récente !</translation>
    </message>
    <message>
        <source>check version failed!</source>
        <translation>échec de la vérification de version !</translation>
    </message>
    <message>
        <source>version infomation</source>
        <translation>informations de version</translation>
    </message>
    <message>
        <source>refresh(&amp;r)</source>
        <translation>actualiser(&amp;r)</translation>
    </message>
    <message>
        <source>f5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>create table(&amp;c)</source>
        <translation>créer une table(&amp;c)</translation>
    </message>
    <message>
        <source>f4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>reconnect(&amp;r)</source>
        <translation>reconnecter(&amp;r)</translation>
    </message>
    <message>
        <source>status(&amp;s)</source>
        <translation>état(&amp;s)</translation>
    </message>
    <message>
        <source>backup(&amp;b)</source>
        <translation>sauvegarder(&amp;b)</translation>
    </message>
    <message>
        <source>restore(&amp;r)</source>
        <translation>restaurer(&amp;r)</translation>
    </message>
    <message>
        <source>execute sql(&amp;e)</source>
        <translation>exécuter du SQL(&amp;e)</translation>
    </message>
    <message>
        <source>f6</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>drop(&amp;d)</source>
        <translation>supprimer(&amp;d)</translation>
    </message>
    <message>
        <source>truncate(&amp;t)</source>
        <translation>vider(&amp;t)</translation>
    </message>
    <message>
        <source>create field(&amp;c)</source>
        <translation>créer un champ(&amp;c)</translation>
    </message>
    <message>
        <source>view data(&amp;v)</source>
        <translation>voir les données(&amp;v)</translation>
    </message>
    <message>
        <source>view field(&amp;v)</source>
        <translation>voir les champs(&amp;v)</translation>
    </message>
    <message>
        <source>import(&amp;i)</source>
        <translation>importer(&amp;i)</translation>
    </message>
    <message>
        <source>export(&amp;e)</source>
        <translation>exporter(&amp;e)</translation>
    </message>
    <message>
        <source>save table(&amp;s)</source>
        <translation>enregistrer la table(&amp;s)</translation>
    </message>
    <message>
        <source>load table(&amp;l)</source>
        <translation>charger une table(&amp;l)</translation>
    </message>
    <message>
        <source>delete(&amp;d)</source>
        <translation>supprimer(&amp;d)</translation>
    </message>
    <message>
        <source>rename(&amp;r)</source>
        <translation>renommer(&amp;r)</translation>
    </message>
    <message>
        <source>modify(&amp;m)</source>
        <translation>modifier(&amp;m)</translation>
    </message>
    <message>
        <source>cut(&amp;t)</source>
        <translation>couper(&amp;t)</translation>
    </message>
    <message>
        <source>ctrl+x</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>copy(&amp;c)</source>
        <translation>copier(&amp;c)</translation>
    </message>
    <message>
        <source>ctrl+c</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>paste(&amp;p)</source>
        <translation>coller(&amp;p)</translation>
    </message>
    <message>
        <source>ctrl+v</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>redo(&amp;r)</source>
        <translation>rétablir(&amp;r)</translation>
    </message>
    <message>
        <source>ctrl+y</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>undo(&amp;u)</source>
        <translation>annuler(&amp;u)</translation>
    </message>
    <message>
        <source>ctrl+z</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>goto error(&amp;g)</source>
        <translation>aller à l'erreur(&amp;g)</translation>
    </message>
    <message>
        <source>ctrl+e</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>line begin</source>
        <translation>début de ligne</translation>
    </message>
    <message>
        <source>line end</source>
        <translation>fin de ligne</translation>
    </message>
    <message>
        <source>word begin</source>
        <translation>début du mot</translation>
    </message>
    <message>
        <source>word end</source>
        <translation>fin du mot</translation>
    </message>
    <message>
        <source>delete selection</source>
        <translation>supprimer la sélection</translation>
    </message>
    <message>
        <source>select beside</source>
        <translation>sélectionner autour</translation>
    </message>
    <message>
        <source>select all</source>
        <translation>tout sélectionner</translation>
    </message>
    <message>
        <source>ctrl+a</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>select line</source>
        <translation>sélectionner la ligne</translation>
    </message>
    <message>
        <source>select word</source>
        <translation>sélectionner le mot</translation>
    </message>
    <message>
        <source>find</source>
        <translation>rechercher</translation>
    </message>
    <message>
        <source>ctrl+f</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>replace</source>
        <translation>remplacer</translation>
    </message>
    <message>
        <source>ctrl+h</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>execute selection</source>
        <translation>exécuter la sélection</translation>
    </message>
    <message>
        <source>execute current line</source>
        <translation>exécuter la ligne courante</translation>
    </message>
    <message>
        <source>f7</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>format selection</source>
        <translation>mettre en forme la sélection</translation>
    </message>
    <message>
        <source>new file(&amp;n)</source>
        <translation>nouveau fichier(&amp;n)</translation>
    </message>
    <message>
        <source>ctrl+n</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>open file(&amp;o)</source>
        <translation>ouvrir un fichier(&amp;o)</translation>
    </message>
    <message>
        <source>ctrl+o</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>save file(&amp;s)</source>
        <translation>enregistrer(&amp;s)</translation>
    </message>
    <message>
        <source>ctrl+s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>save all files(&amp;a)</source>
        <translation>tout enregistrer(&amp;a)</translation>
    </message>
    <message>
        <source>ctrl+shift+s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>save as (&amp;b)</source>
        <translation>enregistrer sous(&amp;b)</translation>
    </message>
    <message>
        <source>close file(&amp;c)</source>
        <translation>fermer le fichier(&amp;c)</translation>
    </message>
    <message>
        <source>ctrl+w</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>close all files(&amp;f)</source>
        <translation>fermer tous les fichiers(&amp;f)</translation>
    </message>
    <message>
        <source>ctrl+shift+w</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>close except file(&amp;e)</source>
        <translation>fermer les autres fichiers(&amp;e)</translation>
    </message>
    <message>
        <source>print file(&amp;p)</source>
        <translation>imprimer(&amp;p)</translation>
    </message>
    <message>
        <source>ctrl+p</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>quit(&amp;q)</source>
        <translation>quitter(&amp;q)</translation>
    </message>
    <message>
        <source>ctrl+q</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>open recent files(&amp;r)</source>
        <translation>fichiers récents(&amp;r)</translation>
    </message>
    <message>
        <source>clear file list</source>
        <translation>effacer la liste</translation>
    </message>
</context>
<context>
    <name>about_dlg</name>
    <message>
        <source>about ruv mdb client</source>
        <translation>à propos du client ruv mdb</translation>
    </message>
    <message>
        <source>About: memory database client is GUI client develop by ruv memory database team.</source>
        <translation>À propos : le client de base de données en mémoire est le client graphique développé par l'équipe ruv memory database.</translation>
    </message>
    <message>
        <source>Version: 0.2.3, Build Date: 2024-05-09</source>
        <translation>Version : 0.2.3, date de compilation : 2024-05-09</translation>
    </message>
    <message>
        <source>It logs in to an in-memory database server, runs SQL scripts and shows, edits, saves and loads its tables.</source>
        <translation>Il se connecte à un serveur de base de données en mémoire, exécute des scripts SQL et affiche, modifie, enregistre et charge ses tables.</translation>
    </message>
    <message>
        <source>Licenses(&amp;L)</source>
        <translation>Licences(&amp;L)</translation>
    </message>
    <message>
        <source>ruv mdb client license</source>
        <translation>licence du client ruv mdb</translation>
    </message>
</context>
<context>
    <name>login_dlg</name>
    <message>
        <source>Dialog</source>
        <translation>Connexion</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p align=&quot;center&quot;&gt;&lt;span style=&quot; font-size:15pt; font-weight:600;&quot;&gt;RUV Memory Database Login&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p align=&quot;center&quot;&gt;&lt;span style=&quot; font-size:15pt; font-weight:600;&quot;&gt;Connexion RUV Memory DB&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;user : &lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;utilisateur : &lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;password :&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;mot de passe :&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;IP : &lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;IP : &lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;port : &lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;port : &lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>set as default</source>
        <translation>par défaut</translation>
    </message>
    <message>
        <source>Login</source>
        <translation>Connexion</translation>
    </message>
    <message>
        <source>invalid ip</source>
        <translation>IP invalide</translation>
    </message>
    <message>
        <source>invalid port</source>
        <translation>port invalide</translation>
    </message>
    <message>
        <source>info</source>
        <translation>information</translation>
    </message>
    <message>
        <source>invalid user or password</source>
        <translation>utilisateur ou mot de passe invalide</translation>
    </message>
</context>
</TS>
