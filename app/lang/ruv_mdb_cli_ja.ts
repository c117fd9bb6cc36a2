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
