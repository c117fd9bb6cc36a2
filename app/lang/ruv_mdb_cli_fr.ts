<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>MainWindow</name>
    <message>
        <source>data oparation console</source>
        <translation>console d&apos;opérations sur les données</translation>
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
        <translation>barre d&apos;outils</translation>
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
        <translation>barre d&apos;outils(&amp;t)</translation>
    </message>
    <message>
        <source>statusbar(&amp;s)</source>
        <translation>barre d&apos;état(&amp;s)</translation>
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
</context>
<context>
    <name>about_dlg</name>
    <message>
        <source>about ruv mdb client</source>
        <translation>à propos du client ruv mdb</translation>
    </message>
    <message>
        <source>About: memory database client is GUI client develop by ruv memory database team.</source>
        <translation>À propos : le client de base de données en mémoire est le client graphique développé par l&apos;équipe ruv memory database.</translation>
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
