<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja">
<context>
    <name>MainWindow</name>
    <message>
        <source>data oparation console</source>
        <translation>データ操作コンソール</translation>
    </message>
    <message>
        <source>file(&amp;f)</source>
        <translation>ファイル(&amp;f)</translation>
    </message>
    <message>
        <source>database(&amp;d)</source>
        <translation>データベース(&amp;d)</translation>
    </message>
    <message>
        <source>edit(&amp;e)</source>
        <translation>編集(&amp;e)</translation>
    </message>
    <message>
        <source>view(&amp;v)</source>
        <translation>表示(&amp;v)</translation>
    </message>
    <message>
        <source>icon(&amp;i)</source>
        <translation>アイコン(&amp;i)</translation>
    </message>
    <message>
        <source>window</source>
        <translation>ウィンドウ</translation>
    </message>
    <message>
        <source>option(&amp;o)</source>
        <translation>オプション(&amp;o)</translation>
    </message>
    <message>
        <source>language</source>
        <translation>言語</translation>
    </message>
    <message>
        <source>help(&amp;h)</source>
        <translation>ヘルプ(&amp;h)</translation>
    </message>
    <message>
        <source>document(&amp;d)</source>
        <translation>ドキュメント(&amp;d)</translation>
    </message>
    <message>
        <source>toolBar</source>
        <translation>ツールバー</translation>
    </message>
    <message>
        <source>big(&amp;b)</source>
        <translation>大(&amp;b)</translation>
    </message>
    <message>
        <source>normal(&amp;n)</source>
        <translation>標準(&amp;n)</translation>
    </message>
    <message>
        <source>small(&amp;s)</source>
        <translation>小(&amp;s)</translation>
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
        <translation>ツールバー(&amp;t)</translation>
    </message>
    <message>
        <source>statusbar(&amp;s)</source>
        <translation>ステータスバー(&amp;s)</translation>
    </message>
    <message>
        <source>fullscreen(&amp;f)</source>
        <translation>全画面(&amp;f)</translation>
    </message>
    <message>
        <source>Ctrl+Shift+F11</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>about(&amp;a)</source>
        <translation>バージョン情報(&amp;a)</translation>
    </message>
    <message>
        <source>online reference(&amp;o)</source>
        <translation>オンラインリファレンス(&amp;o)</translation>
    </message>
    <message>
        <source>local(&amp;l)</source>
        <translation>ローカル(&amp;l)</translation>
    </message>
    <message>
        <source>update(&amp;u)</source>
        <translation>アップデート(&amp;u)</translation>
    </message>
    <message>
        <source>preference(&amp;p)</source>
        <translation>設定(&amp;p)</translation>
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
        <translation>最新の情報に更新(&amp;r)</translation>
    </message>
    <message>
        <source>f5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>create table(&amp;c)</source>
        <translation>テーブル作成(&amp;c)</translation>
    </message>
    <message>
        <source>f4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>reconnect(&amp;r)</source>
        <translation>再接続(&amp;r)</translation>
    </message>
    <message>
        <source>status(&amp;s)</source>
        <translation>状態(&amp;s)</translation>
    </message>
    <message>
        <source>backup(&amp;b)</source>
        <translation>バックアップ(&amp;b)</translation>
    </message>
    <message>
        <source>restore(&amp;r)</source>
        <translation>復元(&amp;r)</translation>
    </message>
    <message>
        <source>execute sql(&amp;e)</source>
        <translation>SQL 実行(&amp;e)</translation>
    </message>
    <message>
        <source>f6</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>drop(&amp;d)</source>
        <translation>削除(&amp;d)</translation>
    </message>
    <message>
        <source>truncate(&amp;t)</source>
        <translation>切り捨て(&amp;t)</translation>
    </message>
    <message>
        <source>create field(&amp;c)</source>
        <translation>フィールド作成(&amp;c)</translation>
    </message>
    <message>
        <source>view data(&amp;v)</source>
        <translation>データ表示(&amp;v)</translation>
    </message>
    <message>
        <source>view field(&amp;v)</source>
        <translation>フィールド表示(&amp;v)</translation>
    </message>
    <message>
        <source>import(&amp;i)</source>
        <translation>インポート(&amp;i)</translation>
    </message>
    <message>
        <source>export(&amp;e)</source>
        <translation>エクスポート(&amp;e)</translation>
    </message>
    <message>
        <source>save table(&amp;s)</source>
        <translation>テーブル保存(&amp;s)</translation>
    </message>
    <message>
        <source>load table(&amp;l)</source>
        <translation>テーブル読み込み(&amp;l)</translation>
    </message>
    <message>
        <source>delete(&amp;d)</source>
        <translation>削除(&amp;d)</translation>
    </message>
    <message>
        <source>rename(&amp;r)</source>
        <translation>名前の変更(&amp;r)</translation>
    </message>
    <message>
        <source>modify(&amp;m)</source>
        <translation>変更(&amp;m)</translation>
    </message>
    <message>
        <source>cut(&amp;t)</source>
        <translation>切り取り(&amp;t)</translation>
    </message>
    <message>
        <source>ctrl+x</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>copy(&amp;c)</source>
        <translation>コピー(&amp;c)</translation>
    </message>
    <message>
        <source>ctrl+c</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>paste(&amp;p)</source>
        <translation>貼り付け(&amp;p)</translation>
    </message>
    <message>
        <source>ctrl+v</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>redo(&amp;r)</source>
        <translation>やり直し(&amp;r)</translation>
    </message>
    <message>
        <source>ctrl+y</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>undo(&amp;u)</source>
        <translation>元に戻す(&amp;u)</translation>
    </message>
    <message>
        <source>ctrl+z</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>goto error(&amp;g)</source>
        <translation>エラーへ移動(&amp;g)</translation>
    </message>
    <message>
        <source>ctrl+e</source>
        <translation type="unfinished"></translation>
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
        <translation>隣接部分を選択</translation>
    </message>
    <message>
        <source>select all</source>
        <translation>すべて選択</translation>
    </message>
    <message>
        <source>ctrl+a</source>
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>replace</source>
        <translation>置換</translation>
    </message>
    <message>
        <source>ctrl+h</source>
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>format selection</source>
        <translation>選択範囲を整形</translation>
    </message>
    <message>
        <source>new file(&amp;n)</source>
        <translation>新規ファイル(&amp;n)</translation>
    </message>
    <message>
        <source>ctrl+n</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>open file(&amp;o)</source>
        <translation>ファイルを開く(&amp;o)</translation>
    </message>
    <message>
        <source>ctrl+o</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>save file(&amp;s)</source>
        <translation>保存(&amp;s)</translation>
    </message>
    <message>
        <source>ctrl+s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>save all files(&amp;a)</source>
        <translation>すべて保存(&amp;a)</translation>
    </message>
    <message>
        <source>ctrl+shift+s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>save as (&amp;b)</source>
        <translation>名前を付けて保存(&amp;b)</translation>
    </message>
    <message>
        <source>close file(&amp;c)</source>
        <translation>ファイルを閉じる(&amp;c)</translation>
    </message>
    <message>
        <source>ctrl+w</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>close all files(&amp;f)</source>
        <translation>すべて閉じる(&amp;f)</translation>
    </message>
    <message>
        <source>ctrl+shift+w</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>close except file(&amp;e)</source>
        <translation>他のファイルを閉じる(&amp;e)</translation>
    </message>
    <message>
        <source>print file(&amp;p)</source>
        <translation>印刷(&amp;p)</translation>
    </message>
    <message>
        <source>ctrl+p</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>quit(&amp;q)</source>
        <translation>終了(&amp;q)</translation>
    </message>
    <message>
        <source>ctrl+q</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>open recent files(&amp;r)</source>
        <translation>最近使ったファイル(&amp;r)</translation>
    </message>
    <message>
        <source>clear file list</source>
        <translation>一覧をクリア</translation>
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
        <translation>ライセンス(&amp;L)</translation>
    </message>
    <message>
        <source>ruv mdb client license</source>
        <translation>ruv mdb クライアントのライセンス</translation>
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
</context>
</TS>
