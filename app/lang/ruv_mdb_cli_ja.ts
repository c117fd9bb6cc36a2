<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja">
<context>
    <name>MainWindow</name>
    <message>
        <source>connection information</source>
        <translation>接続情報</translation>
    </message>
    <message>
        <source>reconnect now?</source>
        <translation>今すぐ再接続しますか？</translation>
    </message>
    <message>
        <source>data oparation console</source>
        <translation>データ操作コンソール</translation>
    </message>
    <message>
        <source>file(&amp;f)</source>
        <translation>ファイル(&amp;F)</translation>
    </message>
    <message>
        <source>database(&amp;d)</source>
        <translation>データベース(&amp;D)</translation>
    </message>
    <message>
        <source>edit(&amp;e)</source>
        <translation>編集(&amp;E)</translation>
    </message>
    <message>
        <source>view(&amp;v)</source>
        <translation>表示(&amp;V)</translation>
    </message>
    <message>
        <source>icon(&amp;i)</source>
        <translation>アイコン(&amp;I)</translation>
    </message>
    <message>
        <source>window</source>
        <translation>ウィンドウ</translation>
    </message>
    <message>
        <source>option(&amp;o)</source>
        <translation>オプション(&amp;O)</translation>
    </message>
    <message>
        <source>language</source>
        <translation>言語</translation>
    </message>
    <message>
        <source>help(&amp;h)</source>
        <translation>ヘルプ(&amp;H)</translation>
    </message>
    <message>
        <source>document(&amp;d)</source>
        <translation>ドキュメント(&amp;D)</translation>
    </message>
    <message>
        <source>toolBar</source>
        <translation>ツールバー</translation>
    </message>
    <message>
        <source>big(&amp;b)</source>
        <translation>大(&amp;B)</translation>
    </message>
    <message>
        <source>normal(&amp;n)</source>
        <translation>標準(&amp;N)</translation>
    </message>
    <message>
        <source>small(&amp;s)</source>
        <translation>小(&amp;S)</translation>
    </message>
    <message>
        <source>database</source>
        <translation>データベース</translation>
    </message>
    <message>
        <source>log</source>
        <translation>ログ</translation>
    </message>
    <message>
        <source>toolbar(&amp;t)</source>
        <translation>ツールバー(&amp;T)</translation>
    </message>
    <message>
        <source>statusbar(&amp;s)</source>
        <translation>ステータスバー(&amp;S)</translation>
    </message>
    <message>
        <source>fullscreen(&amp;f)</source>
        <translation>全画面表示(&amp;F)</translation>
    </message>
    <message>
        <source>Ctrl+Shift+F11</source>
        <translation>Ctrl+Shift+F11</translation>
    </message>
    <message>
        <source>about(&amp;a)</source>
        <translation>バージョン情報(&amp;A)</translation>
    </message>
    <message>
        <source>online reference(&amp;o)</source>
        <translation>オンラインリファレンス(&amp;O)</translation>
    </message>
    <message>
        <source>local(&amp;l)</source>
        <translation>ローカル(&amp;L)</translation>
    </message>
    <message>
        <source>update(&amp;u)</source>
        <translation>更新の確認(&amp;U)</translation>
    </message>
    <message>
        <source>preference(&amp;p)</source>
        <translation>設定(&amp;P)</translation>
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
        <translation>新しいバージョンがあります。ウェブサイトから更新してください！</translation>
    </message>
    <message>
        <source>the current version is latest version!</source>
        <translation>現在のバージョンが最新です！</translation>
    </message>
    <message>
        <source>check version failed!</source>
        <translation>バージョンの確認に失敗しました！</translation>
    </message>
    <message>
        <source>version infomation</source>
        <translation>バージョン情報</translation>
    </message>
    <message>
        <source>refresh(&amp;r)</source>
        <translation>最新の情報に更新(&amp;R)</translation>
    </message>
    <message>
        <source>f5</source>
        <translation>f5</translation>
    </message>
    <message>
        <source>create table(&amp;c)</source>
        <translation>テーブルの作成(&amp;C)</translation>
    </message>
    <message>
        <source>f4</source>
        <translation>f4</translation>
    </message>
    <message>
        <source>reconnect(&amp;r)</source>
        <translation>再接続(&amp;R)</translation>
    </message>
    <message>
        <source>status(&amp;s)</source>
        <translation>ステータス(&amp;S)</translation>
    </message>
    <message>
        <source>backup(&amp;b)</source>
        <translation>バックアップ(&amp;B)</translation>
    </message>
    <message>
        <source>restore(&amp;r)</source>
        <translation>復元(&amp;R)</translation>
    </message>
    <message>
        <source>execute sql(&amp;e)</source>
        <translation>SQL の実行(&amp;E)</translation>
    </message>
    <message>
        <source>f6</source>
        <translation>f6</translation>
    </message>
    <message>
        <source>drop(&amp;d)</source>
        <translation>テーブルの削除(&amp;D)</translation>
    </message>
    <message>
        <source>truncate(&amp;t)</source>
        <translation>テーブルを空にする(&amp;T)</translation>
    </message>
    <message>
        <source>create field(&amp;c)</source>
        <translation>フィールドの作成(&amp;C)</translation>
    </message>
    <message>
        <source>view data(&amp;v)</source>
        <translation>データの表示(&amp;V)</translation>
    </message>
    <message>
        <source>view field(&amp;v)</source>
        <translation>フィールドの表示(&amp;V)</translation>
    </message>
    <message>
        <source>import(&amp;i)</source>
        <translation>インポート(&amp;I)</translation>
    </message>
    <message>
        <source>export(&amp;e)</source>
        <translation>エクスポート(&amp;E)</translation>
    </message>
    <message>
        <source>save table(&amp;s)</source>
        <translation>テーブルの保存(&amp;S)</translation>
    </message>
    <message>
        <source>load table(&amp;l)</source>
        <translation>テーブルの読み込み(&amp;L)</translation>
    </message>
    <message>
        <source>delete(&amp;d)</source>
        <translation>削除(&amp;D)</translation>
    </message>
    <message>
        <source>rename(&amp;r)</source>
        <translation>名前の変更(&amp;R)</translation>
    </message>
    <message>
        <source>modify(&amp;m)</source>
        <translation>変更(&amp;M)</translation>
    </message>
    <message>
        <source>cut(&amp;t)</source>
        <translation>切り取り(&amp;T)</translation>
    </message>
    <message>
        <source>ctrl+x</source>
        <translation>ctrl+x</translation>
    </message>
    <message>
        <source>copy(&amp;c)</source>
        <translation>コピー(&amp;C)</translation>
    </message>
    <message>
        <source>ctrl+c</source>
        <translation>ctrl+c</translation>
    </message>
    <message>
        <source>paste(&amp;p)</source>
        <translation>貼り付け(&amp;P)</translation>
    </message>
    <message>
        <source>ctrl+v</source>
        <translation>ctrl+v</translation>
    </message>
    <message>
        <source>redo(&amp;r)</source>
        <translation>やり直し(&amp;R)</translation>
    </message>
    <message>
        <source>ctrl+y</source>
        <translation>ctrl+y</translation>
    </message>
    <message>
        <source>undo(&amp;u)</source>
        <translation>元に戻す(&amp;U)</translation>
    </message>
    <message>
        <source>ctrl+z</source>
        <translation>ctrl+z</translation>
    </message>
    <message>
        <source>goto error(&amp;g)</source>
        <translation>エラーへ移動(&amp;G)</translation>
    </message>
    <message>
        <source>ctrl+e</source>
        <translation>ctrl+e</translation>
    </message>
    <message>
        <source>line begin</source>
        <translation>行頭</translation>
    </message>
    <message>
        <source>line end</source>
        <translation>行末</translation>
    </message>
    <message>
        <source>word begin</source>
        <translation>単語の先頭</translation>
    </message>
    <message>
        <source>word end</source>
        <translation>単語の末尾</translation>
    </message>
    <message>
        <source>delete selection</source>
        <translation>選択範囲を削除</translation>
    </message>
    <message>
        <source>select beside</source>
        <translation>括弧内を選択</translation>
    </message>
    <message>
        <source>select all</source>
        <translation>すべて選択</translation>
    </message>
    <message>
        <source>ctrl+a</source>
        <translation>ctrl+a</translation>
    </message>
    <message>
        <source>select line</source>
        <translation>行を選択</translation>
    </message>
    <message>
        <source>select word</source>
        <translation>単語を選択</translation>
    </message>
    <message>
        <source>find</source>
        <translation>検索</translation>
    </message>
    <message>
        <source>ctrl+f</source>
        <translation>ctrl+f</translation>
    </message>
    <message>
        <source>replace</source>
        <translation>置換</translation>
    </message>
    <message>
        <source>ctrl+h</source>
        <translation>ctrl+h</translation>
    </message>
    <message>
        <source>execute selection</source>
        <translation>選択範囲を実行</translation>
    </message>
    <message>
        <source>execute current line</source>
        <translation>現在の行を実行</translation>
    </message>
    <message>
        <source>f7</source>
        <translation>f7</translation>
    </message>
    <message>
        <source>format selection</source>
        <translation>選択範囲を整形</translation>
    </message>
    <message>
        <source>new file(&amp;n)</source>
        <translation>新規ファイル(&amp;N)</translation>
    </message>
    <message>
        <source>ctrl+n</source>
        <translation>ctrl+n</translation>
    </message>
    <message>
        <source>open file(&amp;o)</source>
        <translation>ファイルを開く(&amp;O)</translation>
    </message>
    <message>
        <source>ctrl+o</source>
        <translation>ctrl+o</translation>
    </message>
    <message>
        <source>save file(&amp;s)</source>
        <translation>保存(&amp;S)</translation>
    </message>
    <message>
        <source>ctrl+s</source>
        <translation>ctrl+s</translation>
    </message>
    <message>
        <source>save all files(&amp;a)</source>
        <translation>すべて保存(&amp;A)</translation>
    </message>
    <message>
        <source>ctrl+shift+s</source>
        <translation>ctrl+shift+s</translation>
    </message>
    <message>
        <source>save as (&amp;b)</source>
        <translation>名前を付けて保存(&amp;B)</translation>
    </message>
    <message>
        <source>close file(&amp;c)</source>
        <translation>ファイルを閉じる(&amp;C)</translation>
    </message>
    <message>
        <source>ctrl+w</source>
        <translation>ctrl+w</translation>
    </message>
    <message>
        <source>close all files(&amp;f)</source>
        <translation>すべてのファイルを閉じる(&amp;F)</translation>
    </message>
    <message>
        <source>ctrl+shift+w</source>
        <translation>ctrl+shift+w</translation>
    </message>
    <message>
        <source>close except file(&amp;e)</source>
        <translation>他のファイルをすべて閉じる(&amp;E)</translation>
    </message>
    <message>
        <source>print file(&amp;p)</source>
        <translation>印刷(&amp;P)</translation>
    </message>
    <message>
        <source>ctrl+p</source>
        <translation>ctrl+p</translation>
    </message>
    <message>
        <source>quit(&amp;q)</source>
        <translation>終了(&amp;Q)</translation>
    </message>
    <message>
        <source>ctrl+q</source>
        <translation>ctrl+q</translation>
    </message>
    <message>
        <source>open recent files(&amp;r)</source>
        <translation>最近使ったファイル(&amp;R)</translation>
    </message>
    <message>
        <source>clear file list</source>
        <translation>一覧をクリア</translation>
    </message>
    <message>
        <source>save failed</source>
        <translation>保存に失敗しました</translation>
    </message>
    <message>
        <source>these script files could not be saved:
%1
close anyway and lose their changes?</source>
        <translation>次のスクリプトファイルを保存できませんでした：
%1
それでも閉じて変更を破棄しますか？</translation>
    </message>
    <message>
        <source>edits not applied</source>
        <translation>未適用の編集</translation>
    </message>
    <message>
        <source>these tabs have edits not applied to the server:
%1
close anyway and lose them?</source>
        <translation>次のタブにはサーバーに未適用の編集があります：
%1
それでも閉じて破棄しますか？</translation>
    </message>
    <message>
        <source>refresh information</source>
        <translation>最新の情報に更新</translation>
    </message>
    <message>
        <source>the table &apos;%1&apos; is no longer in the database, the tab &apos;%2&apos; stays open with its edits not applied yet.</source>
        <translation>テーブル「%1」はデータベースにもうありません。タブ「%2」は未適用の編集を残したまま開いています。</translation>
    </message>
    <message>
        <source>sql files (*.sql);;all files (*.*)</source>
        <translation>SQL ファイル (*.sql);;すべてのファイル (*.*)</translation>
    </message>
    <message>
        <source>scriptfile</source>
        <translation>スクリプト</translation>
    </message>
    <message>
        <source>the tab has no file</source>
        <translation>このタブにはファイルがありません</translation>
    </message>
    <message>
        <source>these script files could not be saved, their changes are kept in their tabs:
%1</source>
        <translation>次のスクリプトファイルを保存できませんでした。変更は各タブに残っています：
%1</translation>
    </message>
    <message>
        <source>set sql file&apos;s location</source>
        <translation>SQL ファイルの保存場所を指定</translation>
    </message>
    <message>
        <source>open sql file to script editor</source>
        <translation>SQL ファイルをスクリプトエディターで開く</translation>
    </message>
    <message>
        <source>open failed</source>
        <translation>開けませんでした</translation>
    </message>
    <message>
        <source>the file &quot;%1&quot; cannot be read!</source>
        <translation>ファイル「%1」を読み込めません！</translation>
    </message>
    <message>
        <source>file not exists</source>
        <translation>ファイルが存在しません</translation>
    </message>
    <message>
        <source>the file is not exists do your want to create new file?</source>
        <translation>ファイルが存在しません。新しいファイルを作成しますか？</translation>
    </message>
    <message>
        <source>save as sql file to location</source>
        <translation>SQL ファイルに名前を付けて保存</translation>
    </message>
    <message>
        <source>file path is same</source>
        <translation>ファイルパスが同じです</translation>
    </message>
    <message>
        <source>the selected path is same as original!</source>
        <translation>選択したパスは元のパスと同じです！</translation>
    </message>
    <message>
        <source>file already open</source>
        <translation>ファイルは既に開いています</translation>
    </message>
    <message>
        <source>the file &quot;%1&quot; is already open in another tab!</source>
        <translation>ファイル「%1」は既に別のタブで開いています！</translation>
    </message>
    <message>
        <source>the tab &apos;%1&apos; has edits not applied to the server, close it and lose them?</source>
        <translation>タブ「%1」にはサーバーに未適用の編集があります。閉じて破棄しますか？</translation>
    </message>
    <message>
        <source>language changed</source>
        <translation>言語の変更</translation>
    </message>
    <message>
        <source>restart failed</source>
        <translation>再起動に失敗しました</translation>
    </message>
    <message>
        <source>the application is not restarted, these script files could not be saved:
%1</source>
        <translation>アプリケーションは再起動されていません。次のスクリプトファイルを保存できませんでした：
%1</translation>
    </message>
    <message>
        <source>the application could not be started again, the new language applies at the next start!</source>
        <translation>アプリケーションを再起動できませんでした。新しい言語は次回の起動時に適用されます！</translation>
    </message>
    <message>
        <source>the language change to Chinese, the application need restart, restart now?</source>
        <translation>言語を中国語に変更しました。アプリケーションの再起動が必要です。今すぐ再起動しますか？</translation>
    </message>
    <message>
        <source>the language change to English, the application need restart, restart now?</source>
        <translation>言語を英語に変更しました。アプリケーションの再起動が必要です。今すぐ再起動しますか？</translation>
    </message>
    <message>
        <source>the language change to Français, the application need restart, restart now?</source>
        <translation>言語をフランス語に変更しました。アプリケーションの再起動が必要です。今すぐ再起動しますか？</translation>
    </message>
    <message>
        <source>the language change to Japanese, the application need restart, restart now?</source>
        <translation>言語を日本語に変更しました。アプリケーションの再起動が必要です。今すぐ再起動しますか？</translation>
    </message>
    <message>
        <source>help information</source>
        <translation>ヘルプ</translation>
    </message>
    <message>
        <source>the manual &quot;%1&quot; could not be opened!</source>
        <translation>マニュアル「%1」を開けませんでした！</translation>
    </message>
    <message>
        <source>the manual is not installed, it was looked for at:
%1</source>
        <translation>マニュアルがインストールされていません。次の場所を探しました：
%1</translation>
    </message>
    <message>
        <source>the page &quot;%1&quot; could not be opened!</source>
        <translation>ページ「%1」を開けませんでした！</translation>
    </message>
    <message>
        <source>reconnect information</source>
        <translation>再接続</translation>
    </message>
    <message>
        <source>reconnect sussesful!</source>
        <translation>再接続に成功しました！</translation>
    </message>
    <message>
        <source>reconnect failed!</source>
        <translation>再接続に失敗しました！</translation>
    </message>
    <message>
        <source>execute infomation</source>
        <translation>実行情報</translation>
    </message>
    <message>
        <source>the sql &quot;%1&quot; execute failed!</source>
        <translation>SQL「%1」の実行に失敗しました！</translation>
    </message>
    <message>
        <source>the sql execute sussesful total!</source>
        <translation>すべての SQL の実行に成功しました！</translation>
    </message>
    <message>
        <source>open sql file to execute</source>
        <translation>実行する SQL ファイルを開く</translation>
    </message>
    <message>
        <source>sql parse failed</source>
        <translation>SQL の解析に失敗しました</translation>
    </message>
    <message>
        <source>the sql parsed failed at position: %1</source>
        <translation>SQL の解析が位置 %1 で失敗しました</translation>
    </message>
    <message>
        <source>successful</source>
        <translation>成功</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>失敗</translation>
    </message>
    <message>
        <source>drop table warnning</source>
        <translation>テーブル削除の警告</translation>
    </message>
    <message>
        <source>drop table will delete table from server, do your want to drop table &apos;%1&apos; really?</source>
        <translation>テーブルを削除するとサーバーからテーブルがなくなります。本当にテーブル「%1」を削除しますか？</translation>
    </message>
    <message>
        <source>drop table result</source>
        <translation>テーブル削除の結果</translation>
    </message>
    <message>
        <source>drop table &apos;%1&apos; from database is %2!</source>
        <translation>データベースからのテーブル「%1」の削除に%2しました！</translation>
    </message>
    <message>
        <source>truncate table warnning</source>
        <translation>テーブルを空にする前の警告</translation>
    </message>
    <message>
        <source>truncate table will clear all table &apos;s data, do your want to truncate table &apos;%1&apos; really?</source>
        <translation>テーブルを空にするとすべてのデータが消去されます。本当にテーブル「%1」を空にしますか？</translation>
    </message>
    <message>
        <source>truncate table result</source>
        <translation>テーブルを空にした結果</translation>
    </message>
    <message>
        <source>truncate table &apos;%1&apos; from database is %2!</source>
        <translation>テーブル「%1」を空にする処理に%2しました！</translation>
    </message>
    <message>
        <source>delete field warnning</source>
        <translation>フィールド削除の警告</translation>
    </message>
    <message>
        <source>delete field will delete field from table, do your want to delete field &apos;%2&apos; from table &apos;%1&apos; really?</source>
        <translation>フィールドを削除するとテーブルからフィールドがなくなります。本当にテーブル「%1」からフィールド「%2」を削除しますか？</translation>
    </message>
    <message>
        <source>delete field result</source>
        <translation>フィールド削除の結果</translation>
    </message>
    <message>
        <source>delete field &apos;%1&apos; from table &apos;%2&apos; is %3!</source>
        <translation>テーブル「%2」からのフィールド「%1」の削除に%3しました！</translation>
    </message>
    <message>
        <source>new table</source>
        <translation>新規テーブル</translation>
    </message>
    <message>
        <source>add field to table: %1</source>
        <translation>テーブルにフィールドを追加：%1</translation>
    </message>
    <message>
        <source>modify field &apos;%2&apos; of table: %1</source>
        <translation>フィールド「%2」の変更 - テーブル：%1</translation>
    </message>
    <message>
        <source>rename field &apos;%2&apos; of table: %1</source>
        <translation>フィールド「%2」の名前変更 - テーブル：%1</translation>
    </message>
    <message>
        <source>view fields of table: %1</source>
        <translation>テーブルのフィールド：%1</translation>
    </message>
    <message>
        <source>data of table: %1</source>
        <translation>テーブルのデータ：%1</translation>
    </message>
    <message>
        <source>Client</source>
        <translation>クライアント</translation>
    </message>
    <message>
        <source>Server</source>
        <translation>サーバー</translation>
    </message>
    <message>
        <source>export table: %1 to csv/csvs file</source>
        <translation>テーブル %1 を csv/csvs ファイルにエクスポート</translation>
    </message>
    <message>
        <source>import data from csv/csvs file to table: %1</source>
        <translation>csv/csvs ファイルからテーブルにデータをインポート：%1</translation>
    </message>
    <message>
        <source>save table &apos;%1&apos; to file</source>
        <translation>テーブル「%1」をファイルに保存</translation>
    </message>
    <message>
        <source>load table from file</source>
        <translation>ファイルからテーブルを読み込む</translation>
    </message>
    <message>
        <source>backup database to file</source>
        <translation>データベースをファイルにバックアップ</translation>
    </message>
    <message>
        <source>restore database from file</source>
        <translation>ファイルからデータベースを復元</translation>
    </message>
    <message>
        <source>export table result</source>
        <translation>テーブルのエクスポート結果</translation>
    </message>
    <message>
        <source>export table &apos;%1&apos; to file &apos;%2&apos; is %3!</source>
        <translation>テーブル「%1」のファイル「%2」へのエクスポートに%3しました！</translation>
    </message>
    <message>
        <source>import table result</source>
        <translation>テーブルのインポート結果</translation>
    </message>
    <message>
        <source>import file &apos;%1&apos; to table &apos;%2&apos; is %3!</source>
        <translation>ファイル「%1」のテーブル「%2」へのインポートに%3しました！</translation>
    </message>
    <message>
        <source>save table result</source>
        <translation>テーブル保存の結果</translation>
    </message>
    <message>
        <source>save table &apos;%1&apos; to file &apos;%2&apos; is %3!</source>
        <translation>テーブル「%1」のファイル「%2」への保存に%3しました！</translation>
    </message>
    <message>
        <source>load file &apos;%1&apos; to as table &apos;%2&apos; is %3!</source>
        <translation>ファイル「%1」のテーブル「%2」としての読み込みに%3しました！</translation>
    </message>
    <message>
        <source>load file &apos;%1&apos; as table is %2!</source>
        <translation>ファイル「%1」のテーブルとしての読み込みに%2しました！</translation>
    </message>
    <message>
        <source>load table result</source>
        <translation>テーブル読み込みの結果</translation>
    </message>
    <message>
        <source>backup result(%1)</source>
        <translation>バックアップの結果（%1）</translation>
    </message>
    <message>
        <source>backup database to file &apos;%1&apos; is %2!</source>
        <translation>データベースのファイル「%1」へのバックアップに%2しました！</translation>
    </message>
    <message>
        <source>restore result(%1)</source>
        <translation>復元の結果（%1）</translation>
    </message>
    <message>
        <source>restore database frome file &apos;%1&apos; is %2!</source>
        <translation>ファイル「%1」からのデータベースの復元に%2しました！</translation>
    </message>
    <message>
        <source>the file &quot;%1&quot; is larger than the editor holds (2 GiB)!</source>
        <translation>ファイル「%1」はエディタで扱える大きさ（2 GiB）を超えています！</translation>
    </message>
    <message>
        <source>the file &quot;%1&quot; could not be created: %2</source>
        <translation>ファイル「%1」を作成できませんでした：%2</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is a folder</source>
        <translation>「%1」はフォルダーです</translation>
    </message>
    <message>
        <source>the file &apos;%1&apos; already exists and the replace mode is off</source>
        <translation>ファイル「%1」は既に存在し、上書きモードがオフです</translation>
    </message>
    <message>
        <source>no file can be written at &apos;%1&apos;: %2</source>
        <translation>「%1」にファイルを書き込めません：%2</translation>
    </message>
    <message>
        <source>the application is not restarted, the configuration could not be saved:
%1</source>
        <translation>アプリケーションは再起動されません。設定を保存できませんでした：
%1</translation>
    </message>
</context>
<context>
    <name>about_dlg</name>
    <message>
        <source>about ruv mdb client</source>
        <translation>ruv mdb クライアントについて</translation>
    </message>
    <message>
        <source>About: memory database client is GUI client develop by ruv memory database team.</source>
        <translation>概要：メモリデータベースクライアントは ruv メモリデータベースチームが開発した GUI クライアントです。</translation>
    </message>
    <message>
        <source>Version: 0.2.3, Build Date: 2024-05-09</source>
        <translation>バージョン：0.2.3、ビルド日：2024-05-09</translation>
    </message>
    <message>
        <source>It logs in to an in-memory database server, runs SQL scripts and shows, edits, saves and loads its tables.</source>
        <translation>インメモリデータベースサーバーにログインし、SQL スクリプトを実行し、テーブルの表示・編集・保存・読み込みを行います。</translation>
    </message>
    <message>
        <source>Licenses(&amp;L)</source>
        <translation>使用許諾(&amp;L)</translation>
    </message>
    <message>
        <source>ruv mdb client license</source>
        <translation>ruv mdb クライアントのライセンス</translation>
    </message>
</context>
<context>
    <name>col_info</name>
    <message>
        <source>Form</source>
        <translation>フォーム</translation>
    </message>
    <message>
        <source>TableName</source>
        <translation>テーブル名</translation>
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
        <translation>名前</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>型</translation>
    </message>
    <message>
        <source>Repeat</source>
        <translation>重複可</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>適用</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>successful</source>
        <translation>成功</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>失敗</translation>
    </message>
    <message>
        <source>create table result</source>
        <translation>テーブル作成の結果</translation>
    </message>
    <message>
        <source>create table &apos;%1&apos; is %2!</source>
        <translation>テーブル「%1」の作成に%2しました！</translation>
    </message>
    <message>
        <source>create field result</source>
        <translation>フィールド作成の結果</translation>
    </message>
    <message>
        <source>create field &apos;%1&apos; is %2!</source>
        <translation>フィールド「%1」の作成に%2しました！</translation>
    </message>
    <message>
        <source>create all field is %1!</source>
        <translation>すべてのフィールドの作成に%1しました！</translation>
    </message>
    <message>
        <source>modify field result</source>
        <translation>フィールド変更の結果</translation>
    </message>
    <message>
        <source>modify field is %1!</source>
        <translation>フィールドの変更に%1しました！</translation>
    </message>
    <message>
        <source>rename field result</source>
        <translation>フィールド名変更の結果</translation>
    </message>
    <message>
        <source>rename field &apos;%1&apos; to &apos;%2&apos; is %3!</source>
        <translation>フィールド「%1」から「%2」への名前変更に%3しました！</translation>
    </message>
</context>
<context>
    <name>data_view</name>
    <message>
        <source>Form</source>
        <translation>フォーム</translation>
    </message>
    <message>
        <source>name</source>
        <translation>名前</translation>
    </message>
    <message>
        <source>Number Display Mode</source>
        <translation>数値の表示形式</translation>
    </message>
    <message>
        <source>Nor</source>
        <translation>標準</translation>
    </message>
    <message>
        <source>Hex</source>
        <translation>16 進</translation>
    </message>
    <message>
        <source>Dec</source>
        <translation>10 進</translation>
    </message>
    <message>
        <source>Bin</source>
        <translation>2 進</translation>
    </message>
    <message>
        <source>limit first k</source>
        <translation>先頭 k 行に制限</translation>
    </message>
    <message>
        <source>immediate mode</source>
        <translation>即時モード</translation>
    </message>
    <message>
        <source>filter</source>
        <translation>フィルター</translation>
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
        <translation>後処理</translation>
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
        <translation>エクスポート</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>適用</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>edit refused</source>
        <translation>編集が拒否されました</translation>
    </message>
    <message>
        <source>filter this</source>
        <translation>この値でフィルター</translation>
    </message>
    <message>
        <source>append filter</source>
        <translation>フィルターに追加</translation>
    </message>
    <message>
        <source>find text</source>
        <translation>テキストを検索</translation>
    </message>
    <message>
        <source>ctrl+f</source>
        <translation>ctrl+f</translation>
    </message>
    <message>
        <source>replace text</source>
        <translation>テキストを置換</translation>
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
        <translation>in テーブル</translation>
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
        <translation>昇順</translation>
    </message>
    <message>
        <source>descending</source>
        <translation>降順</translation>
    </message>
    <message>
        <source>project</source>
        <translation>射影</translation>
    </message>
    <message>
        <source>except</source>
        <translation>除外</translation>
    </message>
    <message>
        <source>rename</source>
        <translation>名前の変更</translation>
    </message>
    <message>
        <source>compute</source>
        <translation>計算</translation>
    </message>
    <message>
        <source>group</source>
        <translation>グループ化</translation>
    </message>
    <message>
        <source>inner condition</source>
        <translation>行内条件</translation>
    </message>
    <message>
        <source>adjacent condition</source>
        <translation>隣接行条件</translation>
    </message>
    <message>
        <source>between condition</source>
        <translation>行間条件</translation>
    </message>
    <message>
        <source>exists condition</source>
        <translation>exists 条件</translation>
    </message>
    <message>
        <source>not exists condition</source>
        <translation>not exists 条件</translation>
    </message>
    <message>
        <source>linear regression</source>
        <translation>線形回帰</translation>
    </message>
    <message>
        <source>logic regression</source>
        <translation>ロジスティック回帰</translation>
    </message>
    <message>
        <source>decision tree</source>
        <translation>決定木</translation>
    </message>
    <message>
        <source>bayes</source>
        <translation>ベイズ</translation>
    </message>
    <message>
        <source>svm</source>
        <translation>SVM</translation>
    </message>
    <message>
        <source>cluster</source>
        <translation>クラスタリング</translation>
    </message>
    <message>
        <source>pca</source>
        <translation>主成分分析</translation>
    </message>
    <message>
        <source>random forest</source>
        <translation>ランダムフォレスト</translation>
    </message>
    <message>
        <source>deep learning</source>
        <translation>ディープラーニング</translation>
    </message>
    <message>
        <source>modeling</source>
        <translation>モデリング</translation>
    </message>
    <message>
        <source>scatter</source>
        <translation>散布図</translation>
    </message>
    <message>
        <source>line</source>
        <translation>折れ線グラフ</translation>
    </message>
    <message>
        <source>bar</source>
        <translation>棒グラフ</translation>
    </message>
    <message>
        <source>area</source>
        <translation>面グラフ</translation>
    </message>
    <message>
        <source>pie</source>
        <translation>円グラフ</translation>
    </message>
    <message>
        <source>funnel</source>
        <translation>ファネルチャート</translation>
    </message>
    <message>
        <source>adt</source>
        <translation>adt</translation>
    </message>
    <message>
        <source>radar</source>
        <translation>レーダーチャート</translation>
    </message>
    <message>
        <source>instrument</source>
        <translation>ゲージ</translation>
    </message>
    <message>
        <source>replace</source>
        <translation>置換</translation>
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
        <translation>追加</translation>
    </message>
    <message>
        <source>reload table</source>
        <translation>テーブルの再読み込み</translation>
    </message>
    <message>
        <source>the edits of table &apos;%1&apos; are not applied yet. reload and drop them?</source>
        <translation>テーブル「%1」の編集はまだ適用されていません。再読み込みして破棄しますか？</translation>
    </message>
    <message>
        <source>apply result</source>
        <translation>適用の結果</translation>
    </message>
    <message>
        <source>apply the edits of table &apos;%1&apos; failed! the edits are kept.</source>
        <translation>テーブル「%1」の編集の適用に失敗しました！編集は保持されています。</translation>
    </message>
    <message>
        <source>apply edits</source>
        <translation>編集の適用</translation>
    </message>
    <message>
        <source>the connection was lost after the edits of table &apos;%1&apos; were sent: the server may hold them already.
reload the table to see what the server holds (the edits not applied are dropped)? No applies the edits again anyway.</source>
        <translation>テーブル「%1」の編集を送信した後に接続が失われました。サーバーはすでにそれらを保持している可能性があります。
テーブルを再読み込みしてサーバーの内容を確認しますか（適用されていない編集は破棄されます）？「いいえ」を選ぶと、それでも編集をもう一度適用します。</translation>
    </message>
    <message>
        <source>there is no connection to the server: reconnect first, the edits are kept.</source>
        <translation>サーバーに接続されていません。先に再接続してください。編集は保持されています。</translation>
    </message>
    <message>
        <source>the connection to the server was lost after the edits of table &apos;%1&apos; were sent: the server may have applied them. the edits are kept; the next apply asks first.</source>
        <translation>テーブル「%1」の編集を送信した後にサーバーとの接続が失われました。サーバーはそれらを適用した可能性があります。編集は保持されています。次の適用の前に確認します。</translation>
    </message>
    <message>
        <source>export view data</source>
        <translation>表示データのエクスポート</translation>
    </message>
    <message>
        <source>export table result</source>
        <translation>テーブルのエクスポート結果</translation>
    </message>
    <message>
        <source>export table &apos;%1&apos; to file &apos;%2&apos; is %3!</source>
        <translation>テーブル「%1」のファイル「%2」へのエクスポートに%3しました！</translation>
    </message>
    <message>
        <source>successful</source>
        <translation>成功</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>失敗</translation>
    </message>
    <message>
        <source>find text in current table</source>
        <translation>現在のテーブル内のテキストを検索</translation>
    </message>
    <message>
        <source>replace text in current table</source>
        <translation>現在のテーブル内のテキストを置換</translation>
    </message>
    <message>
        <source>post processing</source>
        <translation>後処理</translation>
    </message>
    <message>
        <source>analysis</source>
        <translation>分析</translation>
    </message>
    <message>
        <source>visualization</source>
        <translation>可視化</translation>
    </message>
    <message>
        <source>the value of this cell is not a number: no comparison can be built from it.</source>
        <translation>このセルの値は数値ではないため、比較条件を作成できません。</translation>
    </message>
    <message>
        <source>the value of this cell is infinite: no comparison can be built from it.</source>
        <translation>このセルの値は無限大のため、比較条件を作成できません。</translation>
    </message>
    <message>
        <source>cancel edits</source>
        <translation>編集の取り消し</translation>
    </message>
    <message>
        <source>the edits of table &apos;%1&apos; are not applied yet. close and drop them?</source>
        <translation>テーブル「%1」の編集はまだ適用されていません。閉じて編集を破棄しますか？</translation>
    </message>
    <message>
        <source>the text would be %1 bytes long, longer than the %2 bytes a statement can hold. it is left as it is.</source>
        <translation>テキストは %1 バイトになり、文が保持できる %2 バイトを超えます。テキストはそのままです。</translation>
    </message>
    <message>
        <source>the text leaves a string or character, a name in brackets, a block comment or a parenthesis open at its end: a clause joined to it could be read into it. it is left as it is.</source>
        <translation>テキストの末尾で文字列・文字、角括弧の名前、ブロックコメント、または括弧が閉じられていません。結合した句がその中に読み込まれる可能性があるため、そのままにします。</translation>
    </message>
</context>
<context>
    <name>db_ctx</name>
    <message>
        <source>... (%1 in all)</source>
        <translation>...（全 %1）</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 バイト</translation>
    </message>
    <message>
        <source>%1 KiB</source>
        <translation>%1 KiB</translation>
    </message>
    <message>
        <source>%1 MiB</source>
        <translation>%1 MiB</translation>
    </message>
    <message>
        <source>%1 GiB</source>
        <translation>%1 GiB</translation>
    </message>
    <message>
        <source>execute sql:</source>
        <translation>SQL 実行：</translation>
    </message>
    <message>
        <source>result:</source>
        <translation>結果：</translation>
    </message>
    <message>
        <source>successful</source>
        <translation>成功</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>失敗</translation>
    </message>
    <message>
        <source>use time:</source>
        <translation>所要時間：</translation>
    </message>
    <message>
        <source>us.</source>
        <translation>マイクロ秒</translation>
    </message>
</context>
<context>
    <name>import_csv_dlg</name>
    <message>
        <source>Dialog</source>
        <translation>ダイアログ</translation>
    </message>
    <message>
        <source>Server(note: the file is in remote server)</source>
        <translation>サーバー（注：ファイルはリモートサーバー上にあります）</translation>
    </message>
    <message>
        <source>Path</source>
        <translation>パス</translation>
    </message>
    <message>
        <source>Client</source>
        <translation>クライアント</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>Spliter</source>
        <translation>区切り文字</translation>
    </message>
    <message>
        <source>replace mode</source>
        <translation>上書きモード</translation>
    </message>
    <message>
        <source>format</source>
        <translation>形式</translation>
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
        <translation>スペース</translation>
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
        <translation>エクスポート先のパス</translation>
    </message>
    <message>
        <source>import path information</source>
        <translation>インポート元のパス</translation>
    </message>
    <message>
        <source>the input path is empty.</source>
        <translation>入力されたパスが空です。</translation>
    </message>
    <message>
        <source>csv files (*.csv);;csvs files (*.csvs);;all files (*.*)</source>
        <translation>csv ファイル (*.csv);;csvs ファイル (*.csvs);;すべてのファイル (*.*)</translation>
    </message>
    <message>
        <source>set export csv/csvs file</source>
        <translation>エクスポート先の csv/csvs ファイルを指定</translation>
    </message>
    <message>
        <source>select import csv/csvs file</source>
        <translation>インポートする csv/csvs ファイルを選択</translation>
    </message>
    <message>
        <source>replace mode information</source>
        <translation>上書きモード</translation>
    </message>
    <message>
        <source>note: the replace mode will &lt;span style=&apos;color:orange&apos;&gt;replace exists file&lt;/span&gt;, continue?</source>
        <translation>注意：上書きモードでは&lt;span style=&apos;color:orange&apos;&gt;既存のファイルが上書き&lt;/span&gt;されます。続行しますか？</translation>
    </message>
    <message>
        <source>note: change to client mode will use &lt;span style=&apos;color:orange&apos;&gt;big memory&lt;/span&gt; store all data for transform, should not use for &lt;span style=&apos;color:orange&apos;&gt;big data&lt;/span&gt;, do you want to continue?</source>
        <translation>注意：クライアントモードでは転送する全データの保持に&lt;span style=&apos;color:orange&apos;&gt;大量のメモリ&lt;/span&gt;を使うため、&lt;span style=&apos;color:orange&apos;&gt;大規模なデータ&lt;/span&gt;には向きません。続行しますか？</translation>
    </message>
    <message>
        <source>client mode information</source>
        <translation>クライアントモード</translation>
    </message>
</context>
<context>
    <name>load_tab_dlg</name>
    <message>
        <source>Dialog</source>
        <translation>ダイアログ</translation>
    </message>
    <message>
        <source>table name</source>
        <translation>テーブル名</translation>
    </message>
    <message>
        <source>Server(note the input path is in remote server)</source>
        <translation>サーバー（注：入力するパスはリモートサーバー上のものです）</translation>
    </message>
    <message>
        <source>Path</source>
        <translation>パス</translation>
    </message>
    <message>
        <source>Client</source>
        <translation>クライアント</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>format</source>
        <translation>形式</translation>
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
        <translation>注意：クライアントモードでは転送に&lt;span style=&apos;color:orange&apos;&gt;大量のメモリ&lt;/span&gt;を使うため、&lt;span style=&apos;color:orange&apos;&gt;大規模なデータ&lt;/span&gt;には向きません。続行しますか？</translation>
    </message>
    <message>
        <source>client mode information</source>
        <translation>クライアントモード</translation>
    </message>
    <message>
        <source>select database file&apos;s path</source>
        <translation>データベースファイルのパスを選択</translation>
    </message>
    <message>
        <source>backup files (*.rbk);;all files (*.*)</source>
        <translation>バックアップファイル (*.rbk);;すべてのファイル (*.*)</translation>
    </message>
    <message>
        <source>select table file&apos;s path</source>
        <translation>テーブルファイルのパスを選択</translation>
    </message>
    <message>
        <source>bin files (*.bin);;sql files (*.sql);;all files (*.*)</source>
        <translation>bin ファイル (*.bin);;SQL ファイル (*.sql);;すべてのファイル (*.*)</translation>
    </message>
    <message>
        <source>table name information</source>
        <translation>テーブル名</translation>
    </message>
    <message>
        <source>the input table&apos;s name is empty.</source>
        <translation>入力されたテーブル名が空です。</translation>
    </message>
    <message>
        <source>table path information</source>
        <translation>テーブルのパス</translation>
    </message>
    <message>
        <source>the input table&apos;s path is empty.</source>
        <translation>入力されたテーブルのパスが空です。</translation>
    </message>
    <message>
        <source>path information</source>
        <translation>パス</translation>
    </message>
    <message>
        <source>the input database file&apos;s path is empty.</source>
        <translation>入力されたデータベースファイルのパスが空です。</translation>
    </message>
</context>
<context>
    <name>login_dlg</name>
    <message>
        <source>Dialog</source>
        <translation>ログイン</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p align=&quot;center&quot;&gt;&lt;span style=&quot; font-size:15pt; font-weight:600;&quot;&gt;RUV Memory Database Login&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p align=&quot;center&quot;&gt;&lt;span style=&quot; font-size:15pt; font-weight:600;&quot;&gt;RUV メモリデータベース ログイン&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;user : &lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;ユーザー：&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;password :&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;パスワード：&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;IP : &lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;IP：&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;port : &lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;ポート：&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>set as default</source>
        <translation>既定にする</translation>
    </message>
    <message>
        <source>Login</source>
        <translation>ログイン</translation>
    </message>
    <message>
        <source>invalid ip</source>
        <translation>無効な IP</translation>
    </message>
    <message>
        <source>invalid port</source>
        <translation>無効なポート</translation>
    </message>
    <message>
        <source>info</source>
        <translation>情報</translation>
    </message>
    <message>
        <source>invalid user or password</source>
        <translation>ユーザー名またはパスワードが無効です</translation>
    </message>
    <message>
        <source>cannot connect to %1:%2: %3</source>
        <translation>%1:%2 に接続できません：%3</translation>
    </message>
</context>
<context>
    <name>ruv::editor</name>
    <message>
        <source>Form</source>
        <translation>フォーム</translation>
    </message>
    <message>
        <source>replace text in current windows</source>
        <translation>現在のウィンドウでテキストを置換</translation>
    </message>
    <message>
        <source>find text in current windows</source>
        <translation>現在のウィンドウでテキストを検索</translation>
    </message>
</context>
<context>
    <name>ruv::search_dlg</name>
    <message>
        <source>next research result</source>
        <translation>次を再検索</translation>
    </message>
    <message>
        <source>the string &apos;%1&apos; not found.</source>
        <translation>文字列「%1」が見つかりません。</translation>
    </message>
    <message>
        <source>next search result</source>
        <translation>次を検索</translation>
    </message>
    <message>
        <source>the string &apos;%1&apos; not found. continue from begin?</source>
        <translation>文字列「%1」が見つかりません。先頭から続けますか？</translation>
    </message>
    <message>
        <source>previous research result</source>
        <translation>前を再検索</translation>
    </message>
    <message>
        <source>previous search result</source>
        <translation>前を検索</translation>
    </message>
    <message>
        <source>the string &apos;%1&apos; not found. continue from end?</source>
        <translation>文字列「%1」が見つかりません。末尾から続けますか？</translation>
    </message>
    <message>
        <source>search result</source>
        <translation>検索結果</translation>
    </message>
    <message>
        <source>the regular expression &apos;%1&apos; is invalid.</source>
        <translation>正規表現「%1」は無効です。</translation>
    </message>
    <message>
        <source>the search stopped at the regular expression engine&apos;s limit.</source>
        <translation>正規表現エンジンの制限に達したため、検索を中止しました。</translation>
    </message>
    <message>
        <source>the string &apos;%1&apos; found %2 times.</source>
        <translation>文字列「%1」が %2 件見つかりました。</translation>
    </message>
    <message>
        <source>replace result</source>
        <translation>置換結果</translation>
    </message>
    <message>
        <source>the string &apos;%1&apos; %2 times replaced.</source>
        <translation>文字列「%1」を %2 件置換しました。</translation>
    </message>
</context>
<context>
    <name>ruv::sql_script_editor</name>
    <message>
        <source>copy current text</source>
        <translation>現在のテキストをコピー</translation>
    </message>
    <message>
        <source>close all</source>
        <translation>すべて閉じる</translation>
    </message>
    <message>
        <source>close current</source>
        <translation>現在のタブを閉じる</translation>
    </message>
    <message>
        <source>export current data</source>
        <translation>現在のデータをエクスポート</translation>
    </message>
    <message>
        <source>sql parse failed</source>
        <translation>SQL の解析に失敗しました</translation>
    </message>
    <message>
        <source>the sql parsed failed at position: %1</source>
        <translation>SQL の解析が位置 %1 で失敗しました</translation>
    </message>
    <message>
        <source>find text</source>
        <translation>テキストを検索</translation>
    </message>
    <message>
        <source>execute infomation</source>
        <translation>実行情報</translation>
    </message>
    <message>
        <source>the sql &quot;%1&quot; execute failed!</source>
        <translation>SQL「%1」の実行に失敗しました！</translation>
    </message>
    <message>
        <source>the sql execute sussesful total!</source>
        <translation>すべての SQL の実行に成功しました！</translation>
    </message>
    <message>
        <source>export current windows execute result to csv/csvs file</source>
        <translation>現在のウィンドウの実行結果を csv/csvs ファイルにエクスポート</translation>
    </message>
</context>
<context>
    <name>save_tab_dlg</name>
    <message>
        <source>Dialog</source>
        <translation>ダイアログ</translation>
    </message>
    <message>
        <source>Replace Mode</source>
        <translation>上書きモード</translation>
    </message>
    <message>
        <source>Server(note the input path is in remote server)</source>
        <translation>サーバー（注：入力するパスはリモートサーバー上のものです）</translation>
    </message>
    <message>
        <source>Path</source>
        <translation>パス</translation>
    </message>
    <message>
        <source>Client</source>
        <translation>クライアント</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>format</source>
        <translation>形式</translation>
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
        <translation>上書きモード</translation>
    </message>
    <message>
        <source>note: the replace mode will &lt;span style=&apos;color:orange&apos;&gt;replace exists file&lt;/span&gt;, continue?</source>
        <translation>注意：上書きモードでは&lt;span style=&apos;color:orange&apos;&gt;既存のファイルが上書き&lt;/span&gt;されます。続行しますか？</translation>
    </message>
    <message>
        <source>note: change to client mode will use &lt;span style=&apos;color:orange&apos;&gt;big memory&lt;/span&gt; store all data for transform, should not use for &lt;span style=&apos;color:orange&apos;&gt;big data&lt;/span&gt;, do you want to continue?</source>
        <translation>注意：クライアントモードでは転送する全データの保持に&lt;span style=&apos;color:orange&apos;&gt;大量のメモリ&lt;/span&gt;を使うため、&lt;span style=&apos;color:orange&apos;&gt;大規模なデータ&lt;/span&gt;には向きません。続行しますか？</translation>
    </message>
    <message>
        <source>client mode information</source>
        <translation>クライアントモード</translation>
    </message>
    <message>
        <source>set database file&apos;s path</source>
        <translation>データベースファイルのパスを指定</translation>
    </message>
    <message>
        <source>backup files (*.rbk);;all files (*.*)</source>
        <translation>バックアップファイル (*.rbk);;すべてのファイル (*.*)</translation>
    </message>
    <message>
        <source>set table file&apos;s path</source>
        <translation>テーブルファイルのパスを指定</translation>
    </message>
    <message>
        <source>bin files (*.bin);;sql files (*.sql);;all files (*.*)</source>
        <translation>bin ファイル (*.bin);;SQL ファイル (*.sql);;すべてのファイル (*.*)</translation>
    </message>
    <message>
        <source>path information</source>
        <translation>パス</translation>
    </message>
    <message>
        <source>the input path is empty.</source>
        <translation>入力されたパスが空です。</translation>
    </message>
</context>
<context>
    <name>search_dlg</name>
    <message>
        <source>Dialog</source>
        <translation>ダイアログ</translation>
    </message>
    <message>
        <source>Target</source>
        <translation>検索する文字列</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>次へ</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>前へ</translation>
    </message>
    <message>
        <source>Find All</source>
        <translation>すべて検索</translation>
    </message>
    <message>
        <source>Case-sentive</source>
        <translation>大文字と小文字を区別</translation>
    </message>
    <message>
        <source>Match Word</source>
        <translation>単語単位</translation>
    </message>
    <message>
        <source>Only Selection</source>
        <translation>選択範囲のみ</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>モード</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>通常</translation>
    </message>
    <message>
        <source>Regular Expression</source>
        <translation>正規表現</translation>
    </message>
    <message>
        <source>Support(\n,\r,\x)</source>
        <translation>拡張 (\n,\r,\x)</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>置換</translation>
    </message>
    <message>
        <source>Replace All</source>
        <translation>すべて置換</translation>
    </message>
</context>
<context>
    <name>search_tab_dlg</name>
    <message>
        <source>Dialog</source>
        <translation>ダイアログ</translation>
    </message>
    <message>
        <source>Target</source>
        <translation>検索する文字列</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>次へ</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>前へ</translation>
    </message>
    <message>
        <source>Find All</source>
        <translation>すべて検索</translation>
    </message>
    <message>
        <source>Case-sentive</source>
        <translation>大文字と小文字を区別</translation>
    </message>
    <message>
        <source>Match Word</source>
        <translation>単語単位</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>モード</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>通常</translation>
    </message>
    <message>
        <source>Regular Expression</source>
        <translation>正規表現</translation>
    </message>
    <message>
        <source>Support(\n,\r,\x)</source>
        <translation>拡張 (\n,\r,\x)</translation>
    </message>
    <message>
        <source>Constraint</source>
        <translation>範囲</translation>
    </message>
    <message>
        <source>Row</source>
        <translation>行</translation>
    </message>
    <message>
        <source>Column</source>
        <translation>列</translation>
    </message>
    <message>
        <source>None</source>
        <translation>なし</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>置換</translation>
    </message>
    <message>
        <source>Replace All</source>
        <translation>すべて置換</translation>
    </message>
    <message>
        <source>next search result</source>
        <translation>次を検索</translation>
    </message>
    <message>
        <source>the string &apos;%1&apos; not found. continue from begin?</source>
        <translation>文字列「%1」が見つかりません。先頭から続けますか？</translation>
    </message>
    <message>
        <source>next research result</source>
        <translation>次を再検索</translation>
    </message>
    <message>
        <source>the string &apos;%1&apos; not found.</source>
        <translation>文字列「%1」が見つかりません。</translation>
    </message>
    <message>
        <source>previous search result</source>
        <translation>前を検索</translation>
    </message>
    <message>
        <source>the string &apos;%1&apos; not found. continue from end?</source>
        <translation>文字列「%1」が見つかりません。末尾から続けますか？</translation>
    </message>
    <message>
        <source>previous research result</source>
        <translation>前を再検索</translation>
    </message>
    <message>
        <source>search result</source>
        <translation>検索結果</translation>
    </message>
    <message>
        <source>the string &apos;%1&apos; found %2 times.</source>
        <translation>文字列「%1」が %2 件見つかりました。</translation>
    </message>
    <message>
        <source>replace result</source>
        <translation>置換結果</translation>
    </message>
    <message>
        <source>the string &apos;%1&apos; %2 times replaced.</source>
        <translation>文字列「%1」を %2 件置換しました。</translation>
    </message>
    <message>
        <source>find text in current table</source>
        <translation>現在のテーブル内のテキストを検索</translation>
    </message>
    <message>
        <source>the string &apos;%1&apos; is in a cell that can not be edited here, nothing was replaced.</source>
        <translation>文字列「%1」はここでは編集できないセルにあるため、何も置換されませんでした。</translation>
    </message>
    <message>
        <source>the string &apos;%1&apos; is only in cells that can not be edited here, nothing was replaced.</source>
        <translation>文字列「%1」はここでは編集できないセルにしかないため、何も置換されませんでした。</translation>
    </message>
</context>
<context>
    <name>sql_script_editor</name>
    <message>
        <source>Form</source>
        <translation>フォーム</translation>
    </message>
    <message>
        <source>execute(&amp;e)</source>
        <translation>実行(&amp;E)</translation>
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
        <translation>「%1」は通常のファイルではありません</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be written: %2</source>
        <translation>「%1」に書き込めません：%2</translation>
    </message>
    <message>
        <source>settings not saved</source>
        <translation>設定は保存されていません</translation>
    </message>
    <message>
        <source>the settings of this session could not be saved:
%1</source>
        <translation>このセッションの設定を保存できませんでした：
%1</translation>
    </message>
</context>
<context>
    <name>sys_pre_dlg</name>
    <message>
        <source>Dialog</source>
        <translation>ダイアログ</translation>
    </message>
    <message>
        <source>editor</source>
        <translation>エディター</translation>
    </message>
    <message>
        <source>update</source>
        <translation>更新</translation>
    </message>
    <message>
        <source> style</source>
        <translation> スタイル</translation>
    </message>
    <message>
        <source>horizontal factor</source>
        <translation>水平係数</translation>
    </message>
    <message>
        <source>vertical factor</source>
        <translation>垂直係数</translation>
    </message>
    <message>
        <source>default</source>
        <translation>既定</translation>
    </message>
    <message>
        <source>default keyword</source>
        <translation>既定のキーワード</translation>
    </message>
    <message>
        <source>read keyword</source>
        <translation>読み取りキーワード</translation>
    </message>
    <message>
        <source>write keyword</source>
        <translation>書き込みキーワード</translation>
    </message>
    <message>
        <source>post keyword</source>
        <translation>後処理キーワード</translation>
    </message>
    <message>
        <source>function</source>
        <translation>関数</translation>
    </message>
    <message>
        <source>table name</source>
        <translation>テーブル名</translation>
    </message>
    <message>
        <source>field name</source>
        <translation>フィールド名</translation>
    </message>
    <message>
        <source>constant</source>
        <translation>定数</translation>
    </message>
    <message>
        <source>comment</source>
        <translation>コメント</translation>
    </message>
    <message>
        <source>theme</source>
        <translation>テーマ</translation>
    </message>
    <message>
        <source> elegant</source>
        <translation> エレガント</translation>
    </message>
    <message>
        <source>fresh</source>
        <translation>フレッシュ</translation>
    </message>
    <message>
        <source>leisurely</source>
        <translation>リラックス</translation>
    </message>
    <message>
        <source>point size</source>
        <translation>ポイント数</translation>
    </message>
    <message>
        <source>Bold</source>
        <translation>太字</translation>
    </message>
    <message>
        <source>Italic</source>
        <translation>斜体</translation>
    </message>
    <message>
        <source>Overline</source>
        <translation>上線</translation>
    </message>
    <message>
        <source>Underline</source>
        <translation>下線</translation>
    </message>
    <message>
        <source>Strickout</source>
        <translation>取り消し線</translation>
    </message>
    <message>
        <source>color</source>
        <translation>色</translation>
    </message>
    <message>
        <source>reset(&amp;r)</source>
        <translation>リセット(&amp;R)</translation>
    </message>
    <message>
        <source>show space</source>
        <translation>空白を表示</translation>
    </message>
    <message>
        <source>edit</source>
        <translation>編集</translation>
    </message>
    <message>
        <source>Tab Width:</source>
        <translation>タブ幅：</translation>
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
        <translation>スペースとして挿入</translation>
    </message>
    <message>
        <source>Edit as Continous in</source>
        <translation>連続した編集とみなす間隔</translation>
    </message>
    <message>
        <source>second</source>
        <translation>秒</translation>
    </message>
    <message>
        <source>Edit Cursor</source>
        <translation>編集カーソル</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>幅</translation>
    </message>
    <message>
        <source>completion</source>
        <translation>補完</translation>
    </message>
    <message>
        <source>Enable</source>
        <translation>有効にする</translation>
    </message>
    <message>
        <source>least count</source>
        <translation>最小文字数</translation>
    </message>
    <message>
        <source>Only SQL</source>
        <translation>SQL のみ</translation>
    </message>
    <message>
        <source>preview</source>
        <translation>プレビュー</translation>
    </message>
    <message>
        <source>Check Update</source>
        <translation>更新を確認</translation>
    </message>
    <message>
        <source>applay(&amp;a)</source>
        <translation>適用(&amp;A)</translation>
    </message>
    <message>
        <source>cancel(&amp;c)</source>
        <translation>キャンセル(&amp;C)</translation>
    </message>
    <message>
        <source>system preference</source>
        <translation>環境設定</translation>
    </message>
</context>
<context>
    <name>tab_data_model</name>
    <message>
        <source>the value &apos;%1&apos; of field &apos;%2&apos; can not be written!</source>
        <translation>フィールド「%2」の値「%1」は書き込めません！</translation>
    </message>
    <message>
        <source>the field of column %1 has no name, its cells can not be written!</source>
        <translation>列 %1 のフィールドには名前がないため、そのセルは書き込めません！</translation>
    </message>
</context>
<context>
    <name>transfer_texts</name>
    <message>
        <source>the connection to the server was lost; the server may have carried the transfer out</source>
        <translation>サーバーとの接続が失われました。サーバーは転送を実行した可能性があります</translation>
    </message>
    <message>
        <source>the connection to the server was lost (%1); the server may have carried the transfer out</source>
        <translation>サーバーとの接続が失われました（%1）。サーバーは転送を実行した可能性があります</translation>
    </message>
    <message>
        <source>the file &apos;%1&apos; could not be read: %2</source>
        <translation>ファイル「%1」を読み込めません：%2</translation>
    </message>
    <message>
        <source>the file &apos;%1&apos; is empty, nothing was sent</source>
        <translation>ファイル「%1」は空です。何も送信しませんでした</translation>
    </message>
    <message>
        <source>the file &apos;%1&apos; has %2 bytes, more than the %3 bytes one statement can carry</source>
        <translation>ファイル「%1」は %2 バイトあり、1 つの文で運べる %3 バイトを超えています</translation>
    </message>
    <message>
        <source>the file &apos;%1&apos; could not be written: %2</source>
        <translation>ファイル「%1」に書き込めません：%2</translation>
    </message>
    <message>
        <source>the server&apos;s reply holds no file content</source>
        <translation>サーバーの応答にファイルの内容がありません</translation>
    </message>
    <message>
        <source>the file &apos;%1&apos; already exists and the replace mode is off</source>
        <translation>ファイル「%1」は既に存在し、上書きモードがオフです</translation>
    </message>
</context>
<context>
    <name>wire_events</name>
    <message>
        <source>another exchange with the server is under way.</source>
        <translation>サーバーとの別のやり取りが進行中です。</translation>
    </message>
    <message>
        <source>the connection to %1:%2 was lost: %3</source>
        <translation>%1:%2 への接続が切断されました：%3</translation>
    </message>
    <message>
        <source>the server gave no answer to the login</source>
        <translation>サーバーがログインに応答しませんでした</translation>
    </message>
    <message>
        <source>the server closed the connection</source>
        <translation>サーバーが接続を閉じました</translation>
    </message>
    <message>
        <source>the server&apos;s reply could not be read</source>
        <translation>サーバーの応答を読み取れませんでした</translation>
    </message>
    <message>
        <source>the wait for the server was cancelled, the connection is closed.</source>
        <translation>サーバーの待機を取り消しました。接続は閉じられています。</translation>
    </message>
    <message>
        <source>there is no connection to the server.</source>
        <translation>サーバーに接続されていません。</translation>
    </message>
</context>
<context>
    <name>wire_wait_dlg</name>
    <message>
        <source>%1 s, %2 bytes received</source>
        <translation>%1 秒、%2 バイト受信</translation>
    </message>
    <message>
        <source>cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>logging in to %1:%2</source>
        <translation>%1:%2 にログインしています</translation>
    </message>
    <message>
        <source>logging out</source>
        <translation>ログアウトしています</translation>
    </message>
    <message>
        <source>waiting for the server</source>
        <translation>サーバーを待っています</translation>
    </message>
    <message>
        <source>waiting for the server: %1</source>
        <translation>サーバーを待っています：%1</translation>
    </message>
</context>
</TS>
