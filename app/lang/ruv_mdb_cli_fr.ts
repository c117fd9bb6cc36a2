<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>MainWindow</name>
    <message>
        <source>connection information</source>
        <translation>information de connexion</translation>
    </message>
    <message>
        <source>reconnect now?</source>
        <translation>se reconnecter maintenant&#xa0;?</translation>
    </message>
    <message>
        <source>data oparation console</source>
        <translation>Console d&apos;opérations sur les données</translation>
    </message>
    <message>
        <source>file(&amp;f)</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>database(&amp;d)</source>
        <translation>&amp;Base de données</translation>
    </message>
    <message>
        <source>edit(&amp;e)</source>
        <translation>É&amp;dition</translation>
    </message>
    <message>
        <source>view(&amp;v)</source>
        <translation>&amp;Affichage</translation>
    </message>
    <message>
        <source>icon(&amp;i)</source>
        <translation>&amp;Icônes</translation>
    </message>
    <message>
        <source>window</source>
        <translation>Fenêtres</translation>
    </message>
    <message>
        <source>option(&amp;o)</source>
        <translation>&amp;Options</translation>
    </message>
    <message>
        <source>language</source>
        <translation>Langue</translation>
    </message>
    <message>
        <source>help(&amp;h)</source>
        <translation>A&amp;ide</translation>
    </message>
    <message>
        <source>document(&amp;d)</source>
        <translation>&amp;Documentation</translation>
    </message>
    <message>
        <source>toolBar</source>
        <translation>Barre d&apos;outils</translation>
    </message>
    <message>
        <source>big(&amp;b)</source>
        <translation>&amp;Grandes</translation>
    </message>
    <message>
        <source>normal(&amp;n)</source>
        <translation>&amp;Normales</translation>
    </message>
    <message>
        <source>small(&amp;s)</source>
        <translation>&amp;Petites</translation>
    </message>
    <message>
        <source>database</source>
        <translation>Base de données</translation>
    </message>
    <message>
        <source>log</source>
        <translation>Journal</translation>
    </message>
    <message>
        <source>toolbar(&amp;t)</source>
        <translation>Barre d&apos;&amp;outils</translation>
    </message>
    <message>
        <source>statusbar(&amp;s)</source>
        <translation>Barre d&apos;é&amp;tat</translation>
    </message>
    <message>
        <source>fullscreen(&amp;f)</source>
        <translation>&amp;Plein écran</translation>
    </message>
    <message>
        <source>Ctrl+Shift+F11</source>
        <translation>Ctrl+Shift+F11</translation>
    </message>
    <message>
        <source>about(&amp;a)</source>
        <translation>À &amp;propos</translation>
    </message>
    <message>
        <source>online reference(&amp;o)</source>
        <translation>&amp;Référence en ligne</translation>
    </message>
    <message>
        <source>local(&amp;l)</source>
        <translation>Manuel &amp;local</translation>
    </message>
    <message>
        <source>update(&amp;u)</source>
        <translation>Rechercher des &amp;mises à jour</translation>
    </message>
    <message>
        <source>preference(&amp;p)</source>
        <translation>&amp;Préférences</translation>
    </message>
    <message>
        <source> 简体中文(&amp;z)</source>
        <translation> 简体中文(&amp;z)</translation>
    </message>
    <message>
        <source>English(&amp;e)</source>
        <translation>English(&amp;e)</translation>
    </message>
    <message>
        <source>Français(&amp;f)</source>
        <translation>Français(&amp;f)</translation>
    </message>
    <message>
        <source>日本語(&amp;j)</source>
        <translation>日本語(&amp;j)</translation>
    </message>
    <message>
        <source>there is new version, please update from website!</source>
        <translation>Une nouvelle version est disponible, veuillez la télécharger depuis le site web&#xa0;!</translation>
    </message>
    <message>
        <source>the current version is latest version!</source>
        <translation>La version actuelle est la plus récente&#xa0;!</translation>
    </message>
    <message>
        <source>check version failed!</source>
        <translation>Échec de la vérification de version&#xa0;!</translation>
    </message>
    <message>
        <source>version infomation</source>
        <translation>Informations de version</translation>
    </message>
    <message>
        <source>refresh(&amp;r)</source>
        <translation>&amp;Actualiser</translation>
    </message>
    <message>
        <source>f5</source>
        <translation>f5</translation>
    </message>
    <message>
        <source>create table(&amp;c)</source>
        <translation>&amp;Créer une table</translation>
    </message>
    <message>
        <source>f4</source>
        <translation>f4</translation>
    </message>
    <message>
        <source>reconnect(&amp;r)</source>
        <translation>&amp;Reconnecter</translation>
    </message>
    <message>
        <source>status(&amp;s)</source>
        <translation>É&amp;tat</translation>
    </message>
    <message>
        <source>backup(&amp;b)</source>
        <translation>&amp;Sauvegarder</translation>
    </message>
    <message>
        <source>restore(&amp;r)</source>
        <translation>R&amp;estaurer</translation>
    </message>
    <message>
        <source>execute sql(&amp;e)</source>
        <translation>E&amp;xécuter du SQL</translation>
    </message>
    <message>
        <source>f6</source>
        <translation>f6</translation>
    </message>
    <message>
        <source>drop(&amp;d)</source>
        <translation>Su&amp;pprimer la table</translation>
    </message>
    <message>
        <source>truncate(&amp;t)</source>
        <translation>&amp;Vider la table</translation>
    </message>
    <message>
        <source>create field(&amp;c)</source>
        <translation>Créer un c&amp;hamp</translation>
    </message>
    <message>
        <source>view data(&amp;v)</source>
        <translation>Voir les &amp;données</translation>
    </message>
    <message>
        <source>view field(&amp;v)</source>
        <translation>Voir les cha&amp;mps</translation>
    </message>
    <message>
        <source>import(&amp;i)</source>
        <translation>&amp;Importer</translation>
    </message>
    <message>
        <source>export(&amp;e)</source>
        <translation>Exp&amp;orter</translation>
    </message>
    <message>
        <source>save table(&amp;s)</source>
        <translation>Enregistrer &amp;la table</translation>
    </message>
    <message>
        <source>load table(&amp;l)</source>
        <translation>Char&amp;ger une table</translation>
    </message>
    <message>
        <source>delete(&amp;d)</source>
        <translation>S&amp;upprimer</translation>
    </message>
    <message>
        <source>rename(&amp;r)</source>
        <translation>Re&amp;nommer</translation>
    </message>
    <message>
        <source>modify(&amp;m)</source>
        <translation>Modi&amp;fier</translation>
    </message>
    <message>
        <source>cut(&amp;t)</source>
        <translation>Co&amp;uper</translation>
    </message>
    <message>
        <source>ctrl+x</source>
        <translation>ctrl+x</translation>
    </message>
    <message>
        <source>copy(&amp;c)</source>
        <translation>Co&amp;pier</translation>
    </message>
    <message>
        <source>ctrl+c</source>
        <translation>ctrl+c</translation>
    </message>
    <message>
        <source>paste(&amp;p)</source>
        <translation>C&amp;oller</translation>
    </message>
    <message>
        <source>ctrl+v</source>
        <translation>ctrl+v</translation>
    </message>
    <message>
        <source>redo(&amp;r)</source>
        <translation>&amp;Rétablir</translation>
    </message>
    <message>
        <source>ctrl+y</source>
        <translation>ctrl+y</translation>
    </message>
    <message>
        <source>undo(&amp;u)</source>
        <translation>&amp;Annuler</translation>
    </message>
    <message>
        <source>ctrl+z</source>
        <translation>ctrl+z</translation>
    </message>
    <message>
        <source>goto error(&amp;g)</source>
        <translation>Aller à l&apos;&amp;erreur</translation>
    </message>
    <message>
        <source>ctrl+e</source>
        <translation>ctrl+e</translation>
    </message>
    <message>
        <source>line begin</source>
        <translation>Début de ligne</translation>
    </message>
    <message>
        <source>line end</source>
        <translation>Fin de ligne</translation>
    </message>
    <message>
        <source>word begin</source>
        <translation>Début du mot</translation>
    </message>
    <message>
        <source>word end</source>
        <translation>Fin du mot</translation>
    </message>
    <message>
        <source>delete selection</source>
        <translation>Supprimer la sélection</translation>
    </message>
    <message>
        <source>select beside</source>
        <translation>Sélectionner entre parenthèses</translation>
    </message>
    <message>
        <source>select all</source>
        <translation>Tout sélectionner</translation>
    </message>
    <message>
        <source>ctrl+a</source>
        <translation>ctrl+a</translation>
    </message>
    <message>
        <source>select line</source>
        <translation>Sélectionner la ligne</translation>
    </message>
    <message>
        <source>select word</source>
        <translation>Sélectionner le mot</translation>
    </message>
    <message>
        <source>find</source>
        <translation>Rechercher</translation>
    </message>
    <message>
        <source>ctrl+f</source>
        <translation>ctrl+f</translation>
    </message>
    <message>
        <source>replace</source>
        <translation>Remplacer</translation>
    </message>
    <message>
        <source>ctrl+h</source>
        <translation>ctrl+h</translation>
    </message>
    <message>
        <source>execute selection</source>
        <translation>Exécuter la sélection</translation>
    </message>
    <message>
        <source>execute current line</source>
        <translation>Exécuter la ligne courante</translation>
    </message>
    <message>
        <source>f7</source>
        <translation>f7</translation>
    </message>
    <message>
        <source>format selection</source>
        <translation>Mettre en forme la sélection</translation>
    </message>
    <message>
        <source>new file(&amp;n)</source>
        <translation>&amp;Nouveau fichier</translation>
    </message>
    <message>
        <source>ctrl+n</source>
        <translation>ctrl+n</translation>
    </message>
    <message>
        <source>open file(&amp;o)</source>
        <translation>&amp;Ouvrir un fichier</translation>
    </message>
    <message>
        <source>ctrl+o</source>
        <translation>ctrl+o</translation>
    </message>
    <message>
        <source>save file(&amp;s)</source>
        <translation>&amp;Enregistrer</translation>
    </message>
    <message>
        <source>ctrl+s</source>
        <translation>ctrl+s</translation>
    </message>
    <message>
        <source>save all files(&amp;a)</source>
        <translation>Enre&amp;gistrer tout</translation>
    </message>
    <message>
        <source>ctrl+shift+s</source>
        <translation>ctrl+shift+s</translation>
    </message>
    <message>
        <source>save as (&amp;b)</source>
        <translation>Enregistrer &amp;sous</translation>
    </message>
    <message>
        <source>close file(&amp;c)</source>
        <translation>&amp;Fermer le fichier</translation>
    </message>
    <message>
        <source>ctrl+w</source>
        <translation>ctrl+w</translation>
    </message>
    <message>
        <source>close all files(&amp;f)</source>
        <translation>Fermer &amp;tous les fichiers</translation>
    </message>
    <message>
        <source>ctrl+shift+w</source>
        <translation>ctrl+shift+w</translation>
    </message>
    <message>
        <source>close except file(&amp;e)</source>
        <translation>Fermer les a&amp;utres fichiers</translation>
    </message>
    <message>
        <source>print file(&amp;p)</source>
        <translation>&amp;Imprimer</translation>
    </message>
    <message>
        <source>ctrl+p</source>
        <translation>ctrl+p</translation>
    </message>
    <message>
        <source>quit(&amp;q)</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>ctrl+q</source>
        <translation>ctrl+q</translation>
    </message>
    <message>
        <source>open recent files(&amp;r)</source>
        <translation>Fichiers &amp;récents</translation>
    </message>
    <message>
        <source>clear file list</source>
        <translation>Effacer la liste</translation>
    </message>
    <message>
        <source>save failed</source>
        <translation>Échec de l&apos;enregistrement</translation>
    </message>
    <message>
        <source>these script files could not be saved:
%1
close anyway and lose their changes?</source>
        <translation>Ces fichiers de script n&apos;ont pas pu être enregistrés&#xa0;:
%1
Fermer quand même et perdre leurs modifications&#xa0;?</translation>
    </message>
    <message>
        <source>edits not applied</source>
        <translation>Modifications non appliquées</translation>
    </message>
    <message>
        <source>these tabs have edits not applied to the server:
%1
close anyway and lose them?</source>
        <translation>Ces onglets ont des modifications non appliquées au serveur&#xa0;:
%1
Fermer quand même et les perdre&#xa0;?</translation>
    </message>
    <message>
        <source>refresh information</source>
        <translation>Actualisation</translation>
    </message>
    <message>
        <source>the table &apos;%1&apos; is no longer in the database, the tab &apos;%2&apos; stays open with its edits not applied yet.</source>
        <translation>La table «&#xa0;%1&#xa0;» n&apos;est plus dans la base de données&#xa0;; l&apos;onglet «&#xa0;%2&#xa0;» reste ouvert avec ses modifications non appliquées.</translation>
    </message>
    <message>
        <source>sql files (*.sql);;all files (*.*)</source>
        <translation>Fichiers SQL (*.sql);;Tous les fichiers (*.*)</translation>
    </message>
    <message>
        <source>scriptfile</source>
        <translation>script</translation>
    </message>
    <message>
        <source>the tab has no file</source>
        <translation>L&apos;onglet n&apos;a pas de fichier</translation>
    </message>
    <message>
        <source>these script files could not be saved, their changes are kept in their tabs:
%1</source>
        <translation>Ces fichiers de script n&apos;ont pas pu être enregistrés&#xa0;; leurs modifications restent dans leurs onglets&#xa0;:
%1</translation>
    </message>
    <message>
        <source>set sql file&apos;s location</source>
        <translation>Choisir l&apos;emplacement du fichier SQL</translation>
    </message>
    <message>
        <source>open sql file to script editor</source>
        <translation>Ouvrir un fichier SQL dans l&apos;éditeur de script</translation>
    </message>
    <message>
        <source>open failed</source>
        <translation>Échec de l&apos;ouverture</translation>
    </message>
    <message>
        <source>the file &quot;%1&quot; cannot be read!</source>
        <translation>Le fichier «&#xa0;%1&#xa0;» ne peut pas être lu&#xa0;!</translation>
    </message>
    <message>
        <source>file not exists</source>
        <translation>Fichier inexistant</translation>
    </message>
    <message>
        <source>the file is not exists do your want to create new file?</source>
        <translation>Le fichier n&apos;existe pas. Voulez-vous créer un nouveau fichier&#xa0;?</translation>
    </message>
    <message>
        <source>save as sql file to location</source>
        <translation>Enregistrer le fichier SQL sous</translation>
    </message>
    <message>
        <source>file path is same</source>
        <translation>Chemin identique</translation>
    </message>
    <message>
        <source>the selected path is same as original!</source>
        <translation>Le chemin choisi est identique à l&apos;original&#xa0;!</translation>
    </message>
    <message>
        <source>file already open</source>
        <translation>Fichier déjà ouvert</translation>
    </message>
    <message>
        <source>the file &quot;%1&quot; is already open in another tab!</source>
        <translation>Le fichier «&#xa0;%1&#xa0;» est déjà ouvert dans un autre onglet&#xa0;!</translation>
    </message>
    <message>
        <source>the tab &apos;%1&apos; has edits not applied to the server, close it and lose them?</source>
        <translation>L&apos;onglet «&#xa0;%1&#xa0;» a des modifications non appliquées au serveur. Le fermer et les perdre&#xa0;?</translation>
    </message>
    <message>
        <source>language changed</source>
        <translation>Langue modifiée</translation>
    </message>
    <message>
        <source>restart failed</source>
        <translation>Échec du redémarrage</translation>
    </message>
    <message>
        <source>the application is not restarted, these script files could not be saved:
%1</source>
        <translation>L&apos;application n&apos;a pas été redémarrée&#xa0;: ces fichiers de script n&apos;ont pas pu être enregistrés&#xa0;:
%1</translation>
    </message>
    <message>
        <source>the application could not be started again, the new language applies at the next start!</source>
        <translation>L&apos;application n&apos;a pas pu être relancée&#xa0;; la nouvelle langue s&apos;appliquera au prochain démarrage&#xa0;!</translation>
    </message>
    <message>
        <source>the language change to Chinese, the application need restart, restart now?</source>
        <translation>La langue passe au chinois et l&apos;application doit redémarrer. Redémarrer maintenant&#xa0;?</translation>
    </message>
    <message>
        <source>the language change to English, the application need restart, restart now?</source>
        <translation>La langue passe à l&apos;anglais et l&apos;application doit redémarrer. Redémarrer maintenant&#xa0;?</translation>
    </message>
    <message>
        <source>the language change to Français, the application need restart, restart now?</source>
        <translation>La langue passe au français et l&apos;application doit redémarrer. Redémarrer maintenant&#xa0;?</translation>
    </message>
    <message>
        <source>the language change to Japanese, the application need restart, restart now?</source>
        <translation>La langue passe au japonais et l&apos;application doit redémarrer. Redémarrer maintenant&#xa0;?</translation>
    </message>
    <message>
        <source>help information</source>
        <translation>Aide</translation>
    </message>
    <message>
        <source>the manual &quot;%1&quot; could not be opened!</source>
        <translation>Le manuel «&#xa0;%1&#xa0;» n&apos;a pas pu être ouvert&#xa0;!</translation>
    </message>
    <message>
        <source>the manual is not installed, it was looked for at:
%1</source>
        <translation>Le manuel n&apos;est pas installé&#xa0;; il a été cherché ici&#xa0;:
%1</translation>
    </message>
    <message>
        <source>the page &quot;%1&quot; could not be opened!</source>
        <translation>La page «&#xa0;%1&#xa0;» n&apos;a pas pu être ouverte&#xa0;!</translation>
    </message>
    <message>
        <source>reconnect information</source>
        <translation>Reconnexion</translation>
    </message>
    <message>
        <source>reconnect sussesful!</source>
        <translation>Reconnexion réussie&#xa0;!</translation>
    </message>
    <message>
        <source>reconnect failed!</source>
        <translation>Échec de la reconnexion&#xa0;!</translation>
    </message>
    <message>
        <source>execute infomation</source>
        <translation>Exécution</translation>
    </message>
    <message>
        <source>the sql &quot;%1&quot; execute failed!</source>
        <translation>L&apos;exécution du SQL «&#xa0;%1&#xa0;» a échoué&#xa0;!</translation>
    </message>
    <message>
        <source>the sql execute sussesful total!</source>
        <translation>Toutes les instructions SQL ont été exécutées avec succès&#xa0;!</translation>
    </message>
    <message>
        <source>open sql file to execute</source>
        <translation>Ouvrir un fichier SQL à exécuter</translation>
    </message>
    <message>
        <source>sql parse failed</source>
        <translation>Échec de l&apos;analyse SQL</translation>
    </message>
    <message>
        <source>the sql parsed failed at position: %1</source>
        <translation>L&apos;analyse du SQL a échoué à la position&#xa0;: %1</translation>
    </message>
    <message>
        <source>successful</source>
        <translation>succès</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>échec</translation>
    </message>
    <message>
        <source>drop table warnning</source>
        <translation>Avertissement&#xa0;: suppression de table</translation>
    </message>
    <message>
        <source>drop table will delete table from server, do your want to drop table &apos;%1&apos; really?</source>
        <translation>La suppression retire la table du serveur. Voulez-vous vraiment supprimer la table «&#xa0;%1&#xa0;»&#xa0;?</translation>
    </message>
    <message>
        <source>drop table result</source>
        <translation>Résultat de la suppression de table</translation>
    </message>
    <message>
        <source>drop table &apos;%1&apos; from database is %2!</source>
        <translation>Suppression de la table «&#xa0;%1&#xa0;» de la base de données&#xa0;: %2&#xa0;!</translation>
    </message>
    <message>
        <source>truncate table warnning</source>
        <translation>Avertissement&#xa0;: vidage de table</translation>
    </message>
    <message>
        <source>truncate table will clear all table &apos;s data, do your want to truncate table &apos;%1&apos; really?</source>
        <translation>Vider la table effacera toutes ses données. Voulez-vous vraiment vider la table «&#xa0;%1&#xa0;»&#xa0;?</translation>
    </message>
    <message>
        <source>truncate table result</source>
        <translation>Résultat du vidage de table</translation>
    </message>
    <message>
        <source>truncate table &apos;%1&apos; from database is %2!</source>
        <translation>Vidage de la table «&#xa0;%1&#xa0;»&#xa0;: %2&#xa0;!</translation>
    </message>
    <message>
        <source>delete field warnning</source>
        <translation>Avertissement&#xa0;: suppression de champ</translation>
    </message>
    <message>
        <source>delete field will delete field from table, do your want to delete field &apos;%2&apos; from table &apos;%1&apos; really?</source>
        <translation>La suppression retire le champ de la table. Voulez-vous vraiment supprimer le champ «&#xa0;%2&#xa0;» de la table «&#xa0;%1&#xa0;»&#xa0;?</translation>
    </message>
    <message>
        <source>delete field result</source>
        <translation>Résultat de la suppression de champ</translation>
    </message>
    <message>
        <source>delete field &apos;%1&apos; from table &apos;%2&apos; is %3!</source>
        <translation>Suppression du champ «&#xa0;%1&#xa0;» de la table «&#xa0;%2&#xa0;»&#xa0;: %3&#xa0;!</translation>
    </message>
    <message>
        <source>new table</source>
        <translation>Nouvelle table</translation>
    </message>
    <message>
        <source>add field to table: %1</source>
        <translation>Ajouter des champs à la table&#xa0;: %1</translation>
    </message>
    <message>
        <source>modify field &apos;%2&apos; of table: %1</source>
        <translation>Modifier le champ «&#xa0;%2&#xa0;» de la table&#xa0;: %1</translation>
    </message>
    <message>
        <source>rename field &apos;%2&apos; of table: %1</source>
        <translation>Renommer le champ «&#xa0;%2&#xa0;» de la table&#xa0;: %1</translation>
    </message>
    <message>
        <source>view fields of table: %1</source>
        <translation>Champs de la table&#xa0;: %1</translation>
    </message>
    <message>
        <source>data of table: %1</source>
        <translation>Données de la table&#xa0;: %1</translation>
    </message>
    <message>
        <source>Client</source>
        <translation>Client</translation>
    </message>
    <message>
        <source>Server</source>
        <translation>Serveur</translation>
    </message>
    <message>
        <source>export table: %1 to csv/csvs file</source>
        <translation>Exporter la table %1 vers un fichier csv/csvs</translation>
    </message>
    <message>
        <source>import data from csv/csvs file to table: %1</source>
        <translation>Importer des données d&apos;un fichier csv/csvs dans la table&#xa0;: %1</translation>
    </message>
    <message>
        <source>save table &apos;%1&apos; to file</source>
        <translation>Enregistrer la table «&#xa0;%1&#xa0;» dans un fichier</translation>
    </message>
    <message>
        <source>load table from file</source>
        <translation>Charger une table depuis un fichier</translation>
    </message>
    <message>
        <source>backup database to file</source>
        <translation>Sauvegarder la base de données dans un fichier</translation>
    </message>
    <message>
        <source>restore database from file</source>
        <translation>Restaurer la base de données depuis un fichier</translation>
    </message>
    <message>
        <source>export table result</source>
        <translation>Résultat de l&apos;export de table</translation>
    </message>
    <message>
        <source>export table &apos;%1&apos; to file &apos;%2&apos; is %3!</source>
        <translation>Export de la table «&#xa0;%1&#xa0;» vers le fichier «&#xa0;%2&#xa0;»&#xa0;: %3&#xa0;!</translation>
    </message>
    <message>
        <source>import table result</source>
        <translation>Résultat de l&apos;import de table</translation>
    </message>
    <message>
        <source>import file &apos;%1&apos; to table &apos;%2&apos; is %3!</source>
        <translation>Import du fichier «&#xa0;%1&#xa0;» dans la table «&#xa0;%2&#xa0;»&#xa0;: %3&#xa0;!</translation>
    </message>
    <message>
        <source>save table result</source>
        <translation>Résultat de l&apos;enregistrement de table</translation>
    </message>
    <message>
        <source>save table &apos;%1&apos; to file &apos;%2&apos; is %3!</source>
        <translation>Enregistrement de la table «&#xa0;%1&#xa0;» dans le fichier «&#xa0;%2&#xa0;»&#xa0;: %3&#xa0;!</translation>
    </message>
    <message>
        <source>load file &apos;%1&apos; to as table &apos;%2&apos; is %3!</source>
        <translation>Chargement du fichier «&#xa0;%1&#xa0;» comme table «&#xa0;%2&#xa0;»&#xa0;: %3&#xa0;!</translation>
    </message>
    <message>
        <source>load file &apos;%1&apos; as table is %2!</source>
        <translation>Chargement du fichier «&#xa0;%1&#xa0;» comme table&#xa0;: %2&#xa0;!</translation>
    </message>
    <message>
        <source>load table result</source>
        <translation>Résultat du chargement de table</translation>
    </message>
    <message>
        <source>backup result(%1)</source>
        <translation>Résultat de la sauvegarde (%1)</translation>
    </message>
    <message>
        <source>backup database to file &apos;%1&apos; is %2!</source>
        <translation>Sauvegarde de la base de données dans le fichier «&#xa0;%1&#xa0;»&#xa0;: %2&#xa0;!</translation>
    </message>
    <message>
        <source>restore result(%1)</source>
        <translation>Résultat de la restauration (%1)</translation>
    </message>
    <message>
        <source>restore database frome file &apos;%1&apos; is %2!</source>
        <translation>Restauration de la base de données depuis le fichier «&#xa0;%1&#xa0;»&#xa0;: %2&#xa0;!</translation>
    </message>
    <message>
        <source>the file &quot;%1&quot; is larger than the editor holds (2 GiB)!</source>
        <translation>Le fichier «&#xa0;%1&#xa0;» dépasse la taille que l’éditeur peut contenir (2&#xa0;Gio)&#xa0;!</translation>
    </message>
    <message>
        <source>the file &quot;%1&quot; could not be created: %2</source>
        <translation>Le fichier «&#xa0;%1&#xa0;» n’a pas pu être créé&#xa0;: %2</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is a folder</source>
        <translation>«&#xa0;%1&#xa0;» est un dossier</translation>
    </message>
    <message>
        <source>the file &apos;%1&apos; already exists and the replace mode is off</source>
        <translation>Le fichier «&#xa0;%1&#xa0;» existe déjà et le mode écrasement n’est pas coché</translation>
    </message>
    <message>
        <source>no file can be written at &apos;%1&apos;: %2</source>
        <translation>Aucun fichier ne peut être écrit à «&#xa0;%1&#xa0;»&#xa0;: %2</translation>
    </message>
    <message>
        <source>the application is not restarted, the configuration could not be saved:
%1</source>
        <translation>L’application n’est pas redémarrée, la configuration n’a pas pu être enregistrée&#xa0;:
%1</translation>
    </message>
</context>
<context>
    <name>about_dlg</name>
    <message>
        <source>about ruv mdb client</source>
        <translation>À propos du client ruv mdb</translation>
    </message>
    <message>
        <source>About: memory database client is GUI client develop by ruv memory database team.</source>
        <translation>À propos&#xa0;: client graphique de base de données en mémoire, développé par l&apos;équipe ruv.</translation>
    </message>
    <message>
        <source>Version: 0.2.3, Build Date: 2024-05-09</source>
        <translation>Version&#xa0;: 0.2.3, compilée le 2024-05-09</translation>
    </message>
    <message>
        <source>It logs in to an in-memory database server, runs SQL scripts and shows, edits, saves and loads its tables.</source>
        <translation>Il se connecte à un serveur en mémoire, exécute des scripts SQL, affiche, modifie, enregistre et charge ses tables.</translation>
    </message>
    <message>
        <source>Licenses(&amp;L)</source>
        <translation>&amp;Licences</translation>
    </message>
    <message>
        <source>ruv mdb client license</source>
        <translation>Licence du client ruv mdb</translation>
    </message>
</context>
<context>
    <name>col_info</name>
    <message>
        <source>Form</source>
        <translation>Formulaire</translation>
    </message>
    <message>
        <source>TableName</source>
        <translation>Nom de la table</translation>
    </message>
    <message>
        <source>+</source>
        <translation>+</translation>
    </message>
    <message>
        <source>-</source>
        <translation>-</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nom</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Repeat</source>
        <translation>Répétable</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Appliquer</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>successful</source>
        <translation>succès</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>échec</translation>
    </message>
    <message>
        <source>create table result</source>
        <translation>Résultat de la création de table</translation>
    </message>
    <message>
        <source>create table &apos;%1&apos; is %2!</source>
        <translation>Création de la table «&#xa0;%1&#xa0;»&#xa0;: %2&#xa0;!</translation>
    </message>
    <message>
        <source>create field result</source>
        <translation>Résultat de la création de champ</translation>
    </message>
    <message>
        <source>create field &apos;%1&apos; is %2!</source>
        <translation>Création du champ «&#xa0;%1&#xa0;»&#xa0;: %2&#xa0;!</translation>
    </message>
    <message>
        <source>create all field is %1!</source>
        <translation>Création de tous les champs&#xa0;: %1&#xa0;!</translation>
    </message>
    <message>
        <source>modify field result</source>
        <translation>Résultat de la modification de champ</translation>
    </message>
    <message>
        <source>modify field is %1!</source>
        <translation>Modification du champ&#xa0;: %1&#xa0;!</translation>
    </message>
    <message>
        <source>rename field result</source>
        <translation>Résultat du renommage de champ</translation>
    </message>
    <message>
        <source>rename field &apos;%1&apos; to &apos;%2&apos; is %3!</source>
        <translation>Renommage du champ «&#xa0;%1&#xa0;» en «&#xa0;%2&#xa0;»&#xa0;: %3&#xa0;!</translation>
    </message>
</context>
<context>
    <name>data_view</name>
    <message>
        <source>Form</source>
        <translation>Formulaire</translation>
    </message>
    <message>
        <source>name</source>
        <translation>Nom</translation>
    </message>
    <message>
        <source>Number Display Mode</source>
        <translation>Affichage des nombres</translation>
    </message>
    <message>
        <source>Nor</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>Hex</source>
        <translation>Hex</translation>
    </message>
    <message>
        <source>Dec</source>
        <translation>Déc</translation>
    </message>
    <message>
        <source>Bin</source>
        <translation>Bin</translation>
    </message>
    <message>
        <source>limit first k</source>
        <translation>Limiter aux k premières lignes</translation>
    </message>
    <message>
        <source>immediate mode</source>
        <translation>Mode immédiat</translation>
    </message>
    <message>
        <source>filter</source>
        <translation>Filtre</translation>
    </message>
    <message>
        <source>+</source>
        <translation>+</translation>
    </message>
    <message>
        <source>-</source>
        <translation>-</translation>
    </message>
    <message>
        <source>post operate</source>
        <translation>Post-traitement</translation>
    </message>
    <message>
        <source>background-color: rgb(250, 250, 255);
border:1px solid rgb(147, 164, 173);
border-radius:2px;
selection-background-color: rgb(163, 163, 163);</source>
        <translation>background-color: rgb(250, 250, 255);
border:1px solid rgb(147, 164, 173);
border-radius:2px;
selection-background-color: rgb(163, 163, 163);</translation>
    </message>
    <message>
        <source>export</source>
        <translation>Exporter</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Appliquer</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>edit refused</source>
        <translation>Modification refusée</translation>
    </message>
    <message>
        <source>filter this</source>
        <translation>Filtrer sur cette valeur</translation>
    </message>
    <message>
        <source>append filter</source>
        <translation>Ajouter au filtre</translation>
    </message>
    <message>
        <source>find text</source>
        <translation>Rechercher du texte</translation>
    </message>
    <message>
        <source>ctrl+f</source>
        <translation>ctrl+f</translation>
    </message>
    <message>
        <source>replace text</source>
        <translation>Remplacer du texte</translation>
    </message>
    <message>
        <source>ctrl+h</source>
        <translation>ctrl+h</translation>
    </message>
    <message>
        <source>==</source>
        <translation>==</translation>
    </message>
    <message>
        <source>!=</source>
        <translation>!=</translation>
    </message>
    <message>
        <source>&lt;</source>
        <translation>&lt;</translation>
    </message>
    <message>
        <source>&lt;=</source>
        <translation>&lt;=</translation>
    </message>
    <message>
        <source>&gt;</source>
        <translation>&gt;</translation>
    </message>
    <message>
        <source>&gt;=</source>
        <translation>&gt;=</translation>
    </message>
    <message>
        <source>(1,3)</source>
        <translation>(1,3)</translation>
    </message>
    <message>
        <source>(1,3]</source>
        <translation>(1,3]</translation>
    </message>
    <message>
        <source>[1,3)</source>
        <translation>[1,3)</translation>
    </message>
    <message>
        <source>[1,3]</source>
        <translation>[1,3]</translation>
    </message>
    <message>
        <source>min</source>
        <translation>min</translation>
    </message>
    <message>
        <source>max</source>
        <translation>max</translation>
    </message>
    <message>
        <source>min 3</source>
        <translation>min 3</translation>
    </message>
    <message>
        <source>max 3</source>
        <translation>max 3</translation>
    </message>
    <message>
        <source>(1,2,3)</source>
        <translation>(1,2,3)</translation>
    </message>
    <message>
        <source>in table</source>
        <translation>in table</translation>
    </message>
    <message>
        <source>first</source>
        <translation>first</translation>
    </message>
    <message>
        <source>last</source>
        <translation>last</translation>
    </message>
    <message>
        <source>first 3</source>
        <translation>first 3</translation>
    </message>
    <message>
        <source>last 3</source>
        <translation>last 3</translation>
    </message>
    <message>
        <source>nth 3</source>
        <translation>nth 3</translation>
    </message>
    <message>
        <source>2~5</source>
        <translation>2~5</translation>
    </message>
    <message>
        <source>ascending</source>
        <translation>Croissant</translation>
    </message>
    <message>
        <source>descending</source>
        <translation>Décroissant</translation>
    </message>
    <message>
        <source>project</source>
        <translation>Projection</translation>
    </message>
    <message>
        <source>except</source>
        <translation>Exclusion</translation>
    </message>
    <message>
        <source>rename</source>
        <translation>Renommer</translation>
    </message>
    <message>
        <source>compute</source>
        <translation>Calcul</translation>
    </message>
    <message>
        <source>group</source>
        <translation>Regroupement</translation>
    </message>
    <message>
        <source>inner condition</source>
        <translation>Condition sur la ligne</translation>
    </message>
    <message>
        <source>adjacent condition</source>
        <translation>Condition entre lignes adjacentes</translation>
    </message>
    <message>
        <source>between condition</source>
        <translation>Condition entre lignes</translation>
    </message>
    <message>
        <source>exists condition</source>
        <translation>Condition exists</translation>
    </message>
    <message>
        <source>not exists condition</source>
        <translation>Condition not exists</translation>
    </message>
    <message>
        <source>linear regression</source>
        <translation>Régression linéaire</translation>
    </message>
    <message>
        <source>logic regression</source>
        <translation>Régression logistique</translation>
    </message>
    <message>
        <source>decision tree</source>
        <translation>Arbre de décision</translation>
    </message>
    <message>
        <source>bayes</source>
        <translation>Bayes</translation>
    </message>
    <message>
        <source>svm</source>
        <translation>SVM</translation>
    </message>
    <message>
        <source>cluster</source>
        <translation>Clustering</translation>
    </message>
    <message>
        <source>pca</source>
        <translation>ACP</translation>
    </message>
    <message>
        <source>random forest</source>
        <translation>Forêt aléatoire</translation>
    </message>
    <message>
        <source>deep learning</source>
        <translation>Apprentissage profond</translation>
    </message>
    <message>
        <source>modeling</source>
        <translation>Modélisation</translation>
    </message>
    <message>
        <source>scatter</source>
        <translation>Nuage de points</translation>
    </message>
    <message>
        <source>line</source>
        <translation>Courbes</translation>
    </message>
    <message>
        <source>bar</source>
        <translation>Barres</translation>
    </message>
    <message>
        <source>area</source>
        <translation>Aires</translation>
    </message>
    <message>
        <source>pie</source>
        <translation>Secteurs</translation>
    </message>
    <message>
        <source>funnel</source>
        <translation>Entonnoir</translation>
    </message>
    <message>
        <source>adt</source>
        <translation>adt</translation>
    </message>
    <message>
        <source>radar</source>
        <translation>Radar</translation>
    </message>
    <message>
        <source>instrument</source>
        <translation>Jauge</translation>
    </message>
    <message>
        <source>replace</source>
        <translation>Remplacer</translation>
    </message>
    <message>
        <source>&amp;&amp;&amp;&amp;</source>
        <translation>&amp;&amp;&amp;&amp;</translation>
    </message>
    <message>
        <source> || </source>
        <translation> || </translation>
    </message>
    <message>
        <source>append</source>
        <translation>Ajouter</translation>
    </message>
    <message>
        <source>reload table</source>
        <translation>Recharger la table</translation>
    </message>
    <message>
        <source>the edits of table &apos;%1&apos; are not applied yet. reload and drop them?</source>
        <translation>Les modifications de la table «&#xa0;%1&#xa0;» ne sont pas encore appliquées. Recharger et les abandonner&#xa0;?</translation>
    </message>
    <message>
        <source>apply result</source>
        <translation>Résultat de l&apos;application</translation>
    </message>
    <message>
        <source>apply the edits of table &apos;%1&apos; failed! the edits are kept.</source>
        <translation>L&apos;application des modifications de la table «&#xa0;%1&#xa0;» a échoué&#xa0;! Les modifications sont conservées.</translation>
    </message>
    <message>
        <source>apply edits</source>
        <translation>Appliquer les modifications</translation>
    </message>
    <message>
        <source>the connection was lost after the edits of table &apos;%1&apos; were sent: the server may hold them already.
reload the table to see what the server holds (the edits not applied are dropped)? No applies the edits again anyway.</source>
        <translation>La connexion a été perdue après l’envoi des modifications de la table «&#xa0;%1&#xa0;»&#xa0;: le serveur les détient peut-être déjà.
Recharger la table pour voir ce que le serveur détient (les modifications non appliquées sont abandonnées)&#xa0;? Non applique quand même les modifications à nouveau.</translation>
    </message>
    <message>
        <source>there is no connection to the server: reconnect first, the edits are kept.</source>
        <translation>Il n’y a pas de connexion au serveur&#xa0;: reconnectez-vous d’abord, les modifications sont conservées.</translation>
    </message>
    <message>
        <source>the connection to the server was lost after the edits of table &apos;%1&apos; were sent: the server may have applied them. the edits are kept; the next apply asks first.</source>
        <translation>La connexion au serveur a été perdue après l’envoi des modifications de la table «&#xa0;%1&#xa0;»&#xa0;: le serveur les a peut-être appliquées. Les modifications sont conservées&#xa0;; la prochaine application demandera d’abord.</translation>
    </message>
    <message>
        <source>export view data</source>
        <translation>Exporter les données affichées</translation>
    </message>
    <message>
        <source>export table result</source>
        <translation>Résultat de l&apos;export de table</translation>
    </message>
    <message>
        <source>export table &apos;%1&apos; to file &apos;%2&apos; is %3!</source>
        <translation>Export de la table «&#xa0;%1&#xa0;» vers le fichier «&#xa0;%2&#xa0;»&#xa0;: %3&#xa0;!</translation>
    </message>
    <message>
        <source>successful</source>
        <translation>succès</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>échec</translation>
    </message>
    <message>
        <source>find text in current table</source>
        <translation>Rechercher du texte dans la table courante</translation>
    </message>
    <message>
        <source>replace text in current table</source>
        <translation>Remplacer du texte dans la table courante</translation>
    </message>
    <message>
        <source>post processing</source>
        <translation>Post-traitement</translation>
    </message>
    <message>
        <source>analysis</source>
        <translation>Analyse</translation>
    </message>
    <message>
        <source>visualization</source>
        <translation>Visualisation</translation>
    </message>
    <message>
        <source>the value of this cell is not a number: no comparison can be built from it.</source>
        <translation>La valeur de cette cellule n&apos;est pas un nombre&#xa0;: aucune comparaison ne peut en être tirée.</translation>
    </message>
    <message>
        <source>the value of this cell is infinite: no comparison can be built from it.</source>
        <translation>La valeur de cette cellule est infinie&#xa0;: aucune comparaison ne peut en être tirée.</translation>
    </message>
    <message>
        <source>cancel edits</source>
        <translation>Annuler les modifications</translation>
    </message>
    <message>
        <source>the edits of table &apos;%1&apos; are not applied yet. close and drop them?</source>
        <translation>Les modifications de la table «&#xa0;%1&#xa0;» ne sont pas encore appliquées. Fermer et les abandonner&#xa0;?</translation>
    </message>
    <message>
        <source>the text would be %1 bytes long, longer than the %2 bytes a statement can hold. it is left as it is.</source>
        <translation>Le texte ferait %1 octets, plus que les %2 octets qu&apos;une instruction peut contenir. Il reste tel quel.</translation>
    </message>
    <message>
        <source>the text leaves a string or character, a name in brackets, a block comment or a parenthesis open at its end: a clause joined to it could be read into it. it is left as it is.</source>
        <translation>le texte laisse une chaîne ou un caractère, un nom entre crochets, un commentaire de bloc ou une parenthèse ouverts à sa fin : une clause qui lui serait jointe pourrait y être lue. il est laissé tel quel.</translation>
    </message>
</context>
<context>
    <name>db_ctx</name>
    <message>
        <source>... (%1 in all)</source>
        <translation>... (%1 en tout)</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 octets</translation>
    </message>
    <message>
        <source>%1 KiB</source>
        <translation>%1 Kio</translation>
    </message>
    <message>
        <source>%1 MiB</source>
        <translation>%1 Mio</translation>
    </message>
    <message>
        <source>%1 GiB</source>
        <translation>%1 Gio</translation>
    </message>
    <message>
        <source>execute sql:</source>
        <translation>exécution SQL&#xa0;:</translation>
    </message>
    <message>
        <source>result:</source>
        <translation>résultat&#xa0;:</translation>
    </message>
    <message>
        <source>successful</source>
        <translation>succès</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>échec</translation>
    </message>
    <message>
        <source>use time:</source>
        <translation>durée&#xa0;:</translation>
    </message>
    <message>
        <source>us.</source>
        <translation>µs</translation>
    </message>
</context>
<context>
    <name>import_csv_dlg</name>
    <message>
        <source>Dialog</source>
        <translation>Boîte de dialogue</translation>
    </message>
    <message>
        <source>Server(note: the file is in remote server)</source>
        <translation>Serveur (remarque&#xa0;: le fichier est sur le serveur distant)</translation>
    </message>
    <message>
        <source>Path</source>
        <translation>Chemin</translation>
    </message>
    <message>
        <source>Client</source>
        <translation>Client</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>Spliter</source>
        <translation>Séparateur</translation>
    </message>
    <message>
        <source>replace mode</source>
        <translation>Mode écrasement</translation>
    </message>
    <message>
        <source>format</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>csv</source>
        <translation>csv</translation>
    </message>
    <message>
        <source>csvs</source>
        <translation>csvs</translation>
    </message>
    <message>
        <source>,</source>
        <translation>,</translation>
    </message>
    <message>
        <source>;</source>
        <translation>;</translation>
    </message>
    <message>
        <source>space</source>
        <translation>espace</translation>
    </message>
    <message>
        <source>-</source>
        <translation>-</translation>
    </message>
    <message>
        <source>:</source>
        <translation>:</translation>
    </message>
    <message>
        <source>\t</source>
        <translation>\t</translation>
    </message>
    <message>
        <source>export path information</source>
        <translation>Chemin d&apos;export</translation>
    </message>
    <message>
        <source>import path information</source>
        <translation>Chemin d&apos;import</translation>
    </message>
    <message>
        <source>the input path is empty.</source>
        <translation>Le chemin saisi est vide.</translation>
    </message>
    <message>
        <source>csv files (*.csv);;csvs files (*.csvs);;all files (*.*)</source>
        <translation>Fichiers csv (*.csv);;Fichiers csvs (*.csvs);;Tous les fichiers (*.*)</translation>
    </message>
    <message>
        <source>set export csv/csvs file</source>
        <translation>Choisir le fichier csv/csvs d&apos;export</translation>
    </message>
    <message>
        <source>select import csv/csvs file</source>
        <translation>Choisir le fichier csv/csvs à importer</translation>
    </message>
    <message>
        <source>replace mode information</source>
        <translation>Mode écrasement</translation>
    </message>
    <message>
        <source>note: the replace mode will &lt;span style=&apos;color:orange&apos;&gt;replace exists file&lt;/span&gt;, continue?</source>
        <translation>Remarque&#xa0;: le mode écrasement &lt;span style=&apos;color:orange&apos;&gt;remplacera le fichier existant&lt;/span&gt;. Continuer&#xa0;?</translation>
    </message>
    <message>
        <source>note: change to client mode will use &lt;span style=&apos;color:orange&apos;&gt;big memory&lt;/span&gt; store all data for transform, should not use for &lt;span style=&apos;color:orange&apos;&gt;big data&lt;/span&gt;, do you want to continue?</source>
        <translation>Remarque&#xa0;: le mode client utilise &lt;span style=&apos;color:orange&apos;&gt;beaucoup de mémoire&lt;/span&gt; pour stocker toutes les données à transférer et ne convient pas aux &lt;span style=&apos;color:orange&apos;&gt;gros volumes de données&lt;/span&gt;. Voulez-vous continuer&#xa0;?</translation>
    </message>
    <message>
        <source>client mode information</source>
        <translation>Mode client</translation>
    </message>
</context>
<context>
    <name>load_tab_dlg</name>
    <message>
        <source>Dialog</source>
        <translation>Boîte de dialogue</translation>
    </message>
    <message>
        <source>table name</source>
        <translation>Nom de la table</translation>
    </message>
    <message>
        <source>Server(note the input path is in remote server)</source>
        <translation>Serveur (remarque&#xa0;: le chemin saisi est sur le serveur distant)</translation>
    </message>
    <message>
        <source>Path</source>
        <translation>Chemin</translation>
    </message>
    <message>
        <source>Client</source>
        <translation>Client</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>format</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>bin</source>
        <translation>bin</translation>
    </message>
    <message>
        <source>sql</source>
        <translation>sql</translation>
    </message>
    <message>
        <source>note: change to client mode will use &lt;span style=&apos;color:orange&apos;&gt;big memory&lt;/span&gt; for transform, should not use for &lt;span style=&apos;color:orange&apos;&gt;big data&lt;/span&gt;, do you want to continue?</source>
        <translation>Remarque&#xa0;: le mode client utilise &lt;span style=&apos;color:orange&apos;&gt;beaucoup de mémoire&lt;/span&gt; pour le transfert et ne convient pas aux &lt;span style=&apos;color:orange&apos;&gt;gros volumes de données&lt;/span&gt;. Voulez-vous continuer&#xa0;?</translation>
    </message>
    <message>
        <source>client mode information</source>
        <translation>Mode client</translation>
    </message>
    <message>
        <source>select database file&apos;s path</source>
        <translation>Choisir le fichier de base de données</translation>
    </message>
    <message>
        <source>backup files (*.rbk);;all files (*.*)</source>
        <translation>Fichiers de sauvegarde (*.rbk);;Tous les fichiers (*.*)</translation>
    </message>
    <message>
        <source>select table file&apos;s path</source>
        <translation>Choisir le fichier de table</translation>
    </message>
    <message>
        <source>bin files (*.bin);;sql files (*.sql);;all files (*.*)</source>
        <translation>Fichiers bin (*.bin);;Fichiers SQL (*.sql);;Tous les fichiers (*.*)</translation>
    </message>
    <message>
        <source>table name information</source>
        <translation>Nom de la table</translation>
    </message>
    <message>
        <source>the input table&apos;s name is empty.</source>
        <translation>Le nom de table saisi est vide.</translation>
    </message>
    <message>
        <source>table path information</source>
        <translation>Chemin de la table</translation>
    </message>
    <message>
        <source>the input table&apos;s path is empty.</source>
        <translation>Le chemin de table saisi est vide.</translation>
    </message>
    <message>
        <source>path information</source>
        <translation>Chemin</translation>
    </message>
    <message>
        <source>the input database file&apos;s path is empty.</source>
        <translation>Le chemin du fichier de base de données saisi est vide.</translation>
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
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;utilisateur&#xa0;: &lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;password :&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;mot de passe&#xa0;:&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;IP : &lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;IP&#xa0;: &lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;port : &lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;port&#xa0;: &lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>set as default</source>
        <translation>Par défaut</translation>
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
        <translation>Port invalide</translation>
    </message>
    <message>
        <source>info</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>invalid user or password</source>
        <translation>Utilisateur ou mot de passe invalide</translation>
    </message>
    <message>
        <source>cannot connect to %1:%2: %3</source>
        <translation>Connexion impossible à %1:%2&#xa0;: %3</translation>
    </message>
</context>
<context>
    <name>ruv::editor</name>
    <message>
        <source>Form</source>
        <translation>Formulaire</translation>
    </message>
    <message>
        <source>replace text in current windows</source>
        <translation>remplacer du texte dans les fenêtres courantes</translation>
    </message>
    <message>
        <source>find text in current windows</source>
        <translation>rechercher du texte dans les fenêtres courantes</translation>
    </message>
</context>
<context>
    <name>ruv::search_dlg</name>
    <message>
        <source>next research result</source>
        <translation>Nouvelle recherche du suivant</translation>
    </message>
    <message>
        <source>the string &apos;%1&apos; not found.</source>
        <translation>Chaîne «&#xa0;%1&#xa0;» introuvable.</translation>
    </message>
    <message>
        <source>next search result</source>
        <translation>Recherche du suivant</translation>
    </message>
    <message>
        <source>the string &apos;%1&apos; not found. continue from begin?</source>
        <translation>Chaîne «&#xa0;%1&#xa0;» introuvable. Continuer depuis le début&#xa0;?</translation>
    </message>
    <message>
        <source>previous research result</source>
        <translation>Nouvelle recherche du précédent</translation>
    </message>
    <message>
        <source>previous search result</source>
        <translation>Recherche du précédent</translation>
    </message>
    <message>
        <source>the string &apos;%1&apos; not found. continue from end?</source>
        <translation>Chaîne «&#xa0;%1&#xa0;» introuvable. Continuer depuis la fin&#xa0;?</translation>
    </message>
    <message>
        <source>search result</source>
        <translation>Résultat de la recherche</translation>
    </message>
    <message>
        <source>the regular expression &apos;%1&apos; is invalid.</source>
        <translation>L&apos;expression régulière «&#xa0;%1&#xa0;» n&apos;est pas valide.</translation>
    </message>
    <message>
        <source>the search stopped at the regular expression engine&apos;s limit.</source>
        <translation>La recherche s&apos;est arrêtée à la limite du moteur d&apos;expressions régulières.</translation>
    </message>
    <message>
        <source>the string &apos;%1&apos; found %2 times.</source>
        <translation>Chaîne «&#xa0;%1&#xa0;» trouvée %2 fois.</translation>
    </message>
    <message>
        <source>replace result</source>
        <translation>Résultat du remplacement</translation>
    </message>
    <message>
        <source>the string &apos;%1&apos; %2 times replaced.</source>
        <translation>Chaîne «&#xa0;%1&#xa0;» remplacée %2 fois.</translation>
    </message>
</context>
<context>
    <name>ruv::sql_script_editor</name>
    <message>
        <source>copy current text</source>
        <translation>Copier le texte courant</translation>
    </message>
    <message>
        <source>close all</source>
        <translation>Tout fermer</translation>
    </message>
    <message>
        <source>close current</source>
        <translation>Fermer l&apos;onglet courant</translation>
    </message>
    <message>
        <source>export current data</source>
        <translation>Exporter les données courantes</translation>
    </message>
    <message>
        <source>sql parse failed</source>
        <translation>Échec de l&apos;analyse SQL</translation>
    </message>
    <message>
        <source>the sql parsed failed at position: %1</source>
        <translation>L&apos;analyse du SQL a échoué à la position&#xa0;: %1</translation>
    </message>
    <message>
        <source>find text</source>
        <translation>Rechercher du texte</translation>
    </message>
    <message>
        <source>execute infomation</source>
        <translation>Exécution</translation>
    </message>
    <message>
        <source>the sql &quot;%1&quot; execute failed!</source>
        <translation>L&apos;exécution du SQL «&#xa0;%1&#xa0;» a échoué&#xa0;!</translation>
    </message>
    <message>
        <source>the sql execute sussesful total!</source>
        <translation>Toutes les instructions SQL ont été exécutées avec succès&#xa0;!</translation>
    </message>
    <message>
        <source>export current windows execute result to csv/csvs file</source>
        <translation>Exporter le résultat d&apos;exécution de la fenêtre courante vers un fichier csv/csvs</translation>
    </message>
</context>
<context>
    <name>save_tab_dlg</name>
    <message>
        <source>Dialog</source>
        <translation>Boîte de dialogue</translation>
    </message>
    <message>
        <source>Replace Mode</source>
        <translation>Mode écrasement</translation>
    </message>
    <message>
        <source>Server(note the input path is in remote server)</source>
        <translation>Serveur (remarque&#xa0;: le chemin saisi est sur le serveur distant)</translation>
    </message>
    <message>
        <source>Path</source>
        <translation>Chemin</translation>
    </message>
    <message>
        <source>Client</source>
        <translation>Client</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>format</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>bin</source>
        <translation>bin</translation>
    </message>
    <message>
        <source>sql</source>
        <translation>sql</translation>
    </message>
    <message>
        <source>replace mode information</source>
        <translation>Mode écrasement</translation>
    </message>
    <message>
        <source>note: the replace mode will &lt;span style=&apos;color:orange&apos;&gt;replace exists file&lt;/span&gt;, continue?</source>
        <translation>Remarque&#xa0;: le mode écrasement &lt;span style=&apos;color:orange&apos;&gt;remplacera le fichier existant&lt;/span&gt;. Continuer&#xa0;?</translation>
    </message>
    <message>
        <source>note: change to client mode will use &lt;span style=&apos;color:orange&apos;&gt;big memory&lt;/span&gt; store all data for transform, should not use for &lt;span style=&apos;color:orange&apos;&gt;big data&lt;/span&gt;, do you want to continue?</source>
        <translation>Remarque&#xa0;: le mode client utilise &lt;span style=&apos;color:orange&apos;&gt;beaucoup de mémoire&lt;/span&gt; pour stocker toutes les données à transférer et ne convient pas aux &lt;span style=&apos;color:orange&apos;&gt;gros volumes de données&lt;/span&gt;. Voulez-vous continuer&#xa0;?</translation>
    </message>
    <message>
        <source>client mode information</source>
        <translation>Mode client</translation>
    </message>
    <message>
        <source>set database file&apos;s path</source>
        <translation>Choisir le fichier de base de données</translation>
    </message>
    <message>
        <source>backup files (*.rbk);;all files (*.*)</source>
        <translation>Fichiers de sauvegarde (*.rbk);;Tous les fichiers (*.*)</translation>
    </message>
    <message>
        <source>set table file&apos;s path</source>
        <translation>Choisir le fichier de table</translation>
    </message>
    <message>
        <source>bin files (*.bin);;sql files (*.sql);;all files (*.*)</source>
        <translation>Fichiers bin (*.bin);;Fichiers SQL (*.sql);;Tous les fichiers (*.*)</translation>
    </message>
    <message>
        <source>path information</source>
        <translation>Chemin</translation>
    </message>
    <message>
        <source>the input path is empty.</source>
        <translation>Le chemin saisi est vide.</translation>
    </message>
</context>
<context>
    <name>search_dlg</name>
    <message>
        <source>Dialog</source>
        <translation>Boîte de dialogue</translation>
    </message>
    <message>
        <source>Target</source>
        <translation>Rechercher</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Suivant</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>Précédent</translation>
    </message>
    <message>
        <source>Find All</source>
        <translation>Tout rechercher</translation>
    </message>
    <message>
        <source>Case-sentive</source>
        <translation>Respecter la casse</translation>
    </message>
    <message>
        <source>Match Word</source>
        <translation>Mot entier</translation>
    </message>
    <message>
        <source>Only Selection</source>
        <translation>Sélection uniquement</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>Regular Expression</source>
        <translation>Expression régulière</translation>
    </message>
    <message>
        <source>Support(\n,\r,\x)</source>
        <translation>Étendu (\n,\r,\x)</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Remplacer</translation>
    </message>
    <message>
        <source>Replace All</source>
        <translation>Tout remplacer</translation>
    </message>
</context>
<context>
    <name>search_tab_dlg</name>
    <message>
        <source>Dialog</source>
        <translation>Boîte de dialogue</translation>
    </message>
    <message>
        <source>Target</source>
        <translation>Rechercher</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Suivant</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>Précédent</translation>
    </message>
    <message>
        <source>Find All</source>
        <translation>Tout rechercher</translation>
    </message>
    <message>
        <source>Case-sentive</source>
        <translation>Respecter la casse</translation>
    </message>
    <message>
        <source>Match Word</source>
        <translation>Mot entier</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>Regular Expression</source>
        <translation>Expression régulière</translation>
    </message>
    <message>
        <source>Support(\n,\r,\x)</source>
        <translation>Étendu (\n,\r,\x)</translation>
    </message>
    <message>
        <source>Constraint</source>
        <translation>Restreindre à</translation>
    </message>
    <message>
        <source>Row</source>
        <translation>Ligne</translation>
    </message>
    <message>
        <source>Column</source>
        <translation>Colonne</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Aucune</translation>
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
        <source>next search result</source>
        <translation>Recherche du suivant</translation>
    </message>
    <message>
        <source>the string &apos;%1&apos; not found. continue from begin?</source>
        <translation>Chaîne «&#xa0;%1&#xa0;» introuvable. Continuer depuis le début&#xa0;?</translation>
    </message>
    <message>
        <source>next research result</source>
        <translation>Nouvelle recherche du suivant</translation>
    </message>
    <message>
        <source>the string &apos;%1&apos; not found.</source>
        <translation>Chaîne «&#xa0;%1&#xa0;» introuvable.</translation>
    </message>
    <message>
        <source>previous search result</source>
        <translation>Recherche du précédent</translation>
    </message>
    <message>
        <source>the string &apos;%1&apos; not found. continue from end?</source>
        <translation>Chaîne «&#xa0;%1&#xa0;» introuvable. Continuer depuis la fin&#xa0;?</translation>
    </message>
    <message>
        <source>previous research result</source>
        <translation>Nouvelle recherche du précédent</translation>
    </message>
    <message>
        <source>search result</source>
        <translation>Résultat de la recherche</translation>
    </message>
    <message>
        <source>the string &apos;%1&apos; found %2 times.</source>
        <translation>Chaîne «&#xa0;%1&#xa0;» trouvée %2 fois.</translation>
    </message>
    <message>
        <source>replace result</source>
        <translation>Résultat du remplacement</translation>
    </message>
    <message>
        <source>the string &apos;%1&apos; %2 times replaced.</source>
        <translation>Chaîne «&#xa0;%1&#xa0;» remplacée %2 fois.</translation>
    </message>
    <message>
        <source>find text in current table</source>
        <translation>Rechercher du texte dans la table courante</translation>
    </message>
    <message>
        <source>the string &apos;%1&apos; is in a cell that can not be edited here, nothing was replaced.</source>
        <translation>La chaîne «&#xa0;%1&#xa0;» est dans une cellule non modifiable ici, rien n&apos;a été remplacé.</translation>
    </message>
    <message>
        <source>the string &apos;%1&apos; is only in cells that can not be edited here, nothing was replaced.</source>
        <translation>La chaîne «&#xa0;%1&#xa0;» n&apos;est que dans des cellules non modifiables ici, rien n&apos;a été remplacé.</translation>
    </message>
</context>
<context>
    <name>sql_script_editor</name>
    <message>
        <source>Form</source>
        <translation>Formulaire</translation>
    </message>
    <message>
        <source>execute(&amp;e)</source>
        <translation>&amp;Exécuter</translation>
    </message>
    <message>
        <source>Ctrl+Return</source>
        <translation>Ctrl+Return</translation>
    </message>
</context>
<context>
    <name>sys_config</name>
    <message>
        <source>&quot;%1&quot; is not a regular file</source>
        <translation>«&#xa0;%1&#xa0;» n’est pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be written: %2</source>
        <translation>«&#xa0;%1&#xa0;» ne peut pas être écrit&#xa0;: %2</translation>
    </message>
    <message>
        <source>settings not saved</source>
        <translation>Paramètres non enregistrés</translation>
    </message>
    <message>
        <source>the settings of this session could not be saved:
%1</source>
        <translation>Les paramètres de cette session n’ont pas pu être enregistrés&#xa0;:
%1</translation>
    </message>
</context>
<context>
    <name>sys_pre_dlg</name>
    <message>
        <source>Dialog</source>
        <translation>Boîte de dialogue</translation>
    </message>
    <message>
        <source>editor</source>
        <translation>Éditeur</translation>
    </message>
    <message>
        <source>update</source>
        <translation>Version</translation>
    </message>
    <message>
        <source> style</source>
        <translation> Style</translation>
    </message>
    <message>
        <source>horizontal factor</source>
        <translation>Facteur horizontal</translation>
    </message>
    <message>
        <source>vertical factor</source>
        <translation>Facteur vertical</translation>
    </message>
    <message>
        <source>default</source>
        <translation>Par défaut</translation>
    </message>
    <message>
        <source>default keyword</source>
        <translation>Mot-clé par défaut</translation>
    </message>
    <message>
        <source>read keyword</source>
        <translation>Mot-clé de lecture</translation>
    </message>
    <message>
        <source>write keyword</source>
        <translation>Mot-clé d&apos;écriture</translation>
    </message>
    <message>
        <source>post keyword</source>
        <translation>Mot-clé de post-traitement</translation>
    </message>
    <message>
        <source>function</source>
        <translation>Fonction</translation>
    </message>
    <message>
        <source>table name</source>
        <translation>Nom de table</translation>
    </message>
    <message>
        <source>field name</source>
        <translation>Nom de champ</translation>
    </message>
    <message>
        <source>constant</source>
        <translation>Constante</translation>
    </message>
    <message>
        <source>comment</source>
        <translation>Commentaire</translation>
    </message>
    <message>
        <source>theme</source>
        <translation>Thème</translation>
    </message>
    <message>
        <source> elegant</source>
        <translation> Élégant</translation>
    </message>
    <message>
        <source>fresh</source>
        <translation>Frais</translation>
    </message>
    <message>
        <source>leisurely</source>
        <translation>Détendu</translation>
    </message>
    <message>
        <source>point size</source>
        <translation>Taille en points</translation>
    </message>
    <message>
        <source>Bold</source>
        <translation>Gras</translation>
    </message>
    <message>
        <source>Italic</source>
        <translation>Italique</translation>
    </message>
    <message>
        <source>Overline</source>
        <translation>Surligné</translation>
    </message>
    <message>
        <source>Underline</source>
        <translation>Souligné</translation>
    </message>
    <message>
        <source>Strickout</source>
        <translation>Barré</translation>
    </message>
    <message>
        <source>color</source>
        <translation>Couleur</translation>
    </message>
    <message>
        <source>reset(&amp;r)</source>
        <translation>&amp;Réinitialiser</translation>
    </message>
    <message>
        <source>show space</source>
        <translation>Afficher les espaces</translation>
    </message>
    <message>
        <source>edit</source>
        <translation>Édition</translation>
    </message>
    <message>
        <source>Tab Width:</source>
        <translation>Largeur de tabulation&#xa0;:</translation>
    </message>
    <message>
        <source>4</source>
        <translation>4</translation>
    </message>
    <message>
        <source>8</source>
        <translation>8</translation>
    </message>
    <message>
        <source>2</source>
        <translation>2</translation>
    </message>
    <message>
        <source>6</source>
        <translation>6</translation>
    </message>
    <message>
        <source>1</source>
        <translation>1</translation>
    </message>
    <message>
        <source>3</source>
        <translation>3</translation>
    </message>
    <message>
        <source>Insert as Space</source>
        <translation>Insérer des espaces</translation>
    </message>
    <message>
        <source>Edit as Continous in</source>
        <translation>Modifications continues en moins de</translation>
    </message>
    <message>
        <source>second</source>
        <translation>seconde(s)</translation>
    </message>
    <message>
        <source>Edit Cursor</source>
        <translation>Curseur d&apos;édition</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Largeur</translation>
    </message>
    <message>
        <source>completion</source>
        <translation>Complétion</translation>
    </message>
    <message>
        <source>Enable</source>
        <translation>Activer</translation>
    </message>
    <message>
        <source>least count</source>
        <translation>Nombre minimal de caractères</translation>
    </message>
    <message>
        <source>Only SQL</source>
        <translation>SQL uniquement</translation>
    </message>
    <message>
        <source>preview</source>
        <translation>Aperçu</translation>
    </message>
    <message>
        <source>Check Update</source>
        <translation>Rechercher les mises à jour</translation>
    </message>
    <message>
        <source>applay(&amp;a)</source>
        <translation>&amp;Appliquer</translation>
    </message>
    <message>
        <source>cancel(&amp;c)</source>
        <translation>A&amp;nnuler</translation>
    </message>
    <message>
        <source>system preference</source>
        <translation>Préférences</translation>
    </message>
</context>
<context>
    <name>tab_data_model</name>
    <message>
        <source>the value &apos;%1&apos; of field &apos;%2&apos; can not be written!</source>
        <translation>La valeur «&#xa0;%1&#xa0;» du champ «&#xa0;%2&#xa0;» ne peut pas être écrite&#xa0;!</translation>
    </message>
    <message>
        <source>the field of column %1 has no name, its cells can not be written!</source>
        <translation>Le champ de la colonne %1 n&apos;a pas de nom, ses cellules ne peuvent pas être écrites&#xa0;!</translation>
    </message>
</context>
<context>
    <name>transfer_texts</name>
    <message>
        <source>the connection to the server was lost; the server may have carried the transfer out</source>
        <translation>la connexion au serveur a été perdue ; le serveur a peut-être effectué le transfert</translation>
    </message>
    <message>
        <source>the connection to the server was lost (%1); the server may have carried the transfer out</source>
        <translation>la connexion au serveur a été perdue (%1) ; le serveur a peut-être effectué le transfert</translation>
    </message>
    <message>
        <source>the file &apos;%1&apos; could not be read: %2</source>
        <translation>Le fichier «&#xa0;%1&#xa0;» n’a pas pu être lu&#xa0;: %2</translation>
    </message>
    <message>
        <source>the file &apos;%1&apos; is empty, nothing was sent</source>
        <translation>Le fichier «&#xa0;%1&#xa0;» est vide, rien n’a été envoyé</translation>
    </message>
    <message>
        <source>the file &apos;%1&apos; has %2 bytes, more than the %3 bytes one statement can carry</source>
        <translation>Le fichier «&#xa0;%1&#xa0;» fait %2 octets, plus que les %3 octets qu’une instruction peut porter</translation>
    </message>
    <message>
        <source>the file &apos;%1&apos; could not be written: %2</source>
        <translation>Le fichier «&#xa0;%1&#xa0;» n’a pas pu être écrit&#xa0;: %2</translation>
    </message>
    <message>
        <source>the server&apos;s reply holds no file content</source>
        <translation>la réponse du serveur ne contient pas le contenu d’un fichier</translation>
    </message>
    <message>
        <source>the file &apos;%1&apos; already exists and the replace mode is off</source>
        <translation>Le fichier «&#xa0;%1&#xa0;» existe déjà et le mode écrasement n’est pas coché</translation>
    </message>
</context>
<context>
    <name>wire_events</name>
    <message>
        <source>another exchange with the server is under way.</source>
        <translation>un autre échange avec le serveur est en cours.</translation>
    </message>
    <message>
        <source>the connection to %1:%2 was lost: %3</source>
        <translation>la connexion à %1:%2 a été perdue&#xa0;: %3</translation>
    </message>
    <message>
        <source>the server gave no answer to the login</source>
        <translation>le serveur n&apos;a pas répondu à la connexion</translation>
    </message>
    <message>
        <source>the server closed the connection</source>
        <translation>le serveur a fermé la connexion</translation>
    </message>
    <message>
        <source>the server&apos;s reply could not be read</source>
        <translation>la réponse du serveur n&apos;a pas pu être lue</translation>
    </message>
    <message>
        <source>the wait for the server was cancelled, the connection is closed.</source>
        <translation>l&apos;attente du serveur a été annulée, la connexion est fermée.</translation>
    </message>
    <message>
        <source>there is no connection to the server.</source>
        <translation>il n&apos;y a pas de connexion au serveur.</translation>
    </message>
</context>
<context>
    <name>wire_wait_dlg</name>
    <message>
        <source>%1 s, %2 bytes received</source>
        <translation>%1 s, %2 octets reçus</translation>
    </message>
    <message>
        <source>cancel</source>
        <translation>annuler</translation>
    </message>
    <message>
        <source>logging in to %1:%2</source>
        <translation>connexion à %1:%2</translation>
    </message>
    <message>
        <source>logging out</source>
        <translation>déconnexion</translation>
    </message>
    <message>
        <source>waiting for the server</source>
        <translation>attente du serveur</translation>
    </message>
    <message>
        <source>waiting for the server: %1</source>
        <translation>attente du serveur&#xa0;: %1</translation>
    </message>
</context>
</TS>
