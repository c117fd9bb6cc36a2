<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh">
<context>
    <name>MainWindow</name>
    <message>
        <source>data oparation console</source>
        <translation>数据操作控制台</translation>
    </message>
    <message>
        <source>file(&amp;f)</source>
        <translation>文件(&amp;f)</translation>
    </message>
    <message>
        <source>database(&amp;d)</source>
        <translation>数据库(&amp;d)</translation>
    </message>
    <message>
        <source>edit(&amp;e)</source>
        <translation>编辑(&amp;e)</translation>
    </message>
    <message>
        <source>view(&amp;v)</source>
        <translation>视图(&amp;v)</translation>
    </message>
    <message>
        <source>icon(&amp;i)</source>
        <translation>图标(&amp;i)</translation>
    </message>
    <message>
        <source>window</source>
        <translation>窗口</translation>
    </message>
    <message>
        <source>option(&amp;o)</source>
        <translation>选项(&amp;o)</translation>
    </message>
    <message>
        <source>language</source>
        <translation>语言</translation>
    </message>
    <message>
        <source>help(&amp;h)</source>
        <translation>帮助(&amp;h)</translation>
    </message>
    <message>
        <source>document(&amp;d)</source>
        <translation>文档(&amp;d)</translation>
    </message>
    <message>
        <source>toolBar</source>
        <translation>工具栏</translation>
    </message>
    <message>
        <source>big(&amp;b)</source>
        <translation>大(&amp;b)</translation>
    </message>
    <message>
        <source>normal(&amp;n)</source>
        <translation>正常(&amp;n)</translation>
    </message>
    <message>
        <source>small(&amp;s)</source>
        <translation>小(&amp;s)</translation>
    </message>
    <message>
        <source>database</source>
        <translation>数据库</translation>
    </message>
    <message>
        <source>log</source>
        <translation>日志</translation>
    </message>
    <message>
        <source>toolbar(&amp;t)</source>
        <translation>工具栏(&amp;t)</translation>
    </message>
    <message>
        <source>statusbar(&amp;s)</source>
        <translation>状态栏(&amp;s)</translation>
    </message>
    <message>
        <source>fullscreen(&amp;f)</source>
        <translation>全屏(&amp;f)</translation>
    </message>
    <message>
        <source>Ctrl+Shift+F11</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>about(&amp;a)</source>
        <translation>关于(&amp;a)</translation>
    </message>
    <message>
        <source>online reference(&amp;o)</source>
        <translation>在线参考(&amp;o)</translation>
    </message>
    <message>
        <source>local(&amp;l)</source>
        <translation>本地(&amp;l)</translation>
    </message>
    <message>
        <source>update(&amp;u)</source>
        <translation>更新(&amp;u)</translation>
    </message>
    <message>
        <source>preference(&amp;p)</source>
        <translation>首选项(&amp;p)</translation>
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
        <translation>有新版本，请从网站更新！</translation>
    </message>
    <message>
        <source>the current version is latest version!</source>
        <translation>当前版本已是最新版本！</translation>
    </message>
    <message>
        <source>check version failed!</source>
        <translation>检查版本失败！</translation>
    </message>
    <message>
        <source>version infomation</source>
        <translation>版本信息</translation>
    </message>
</context>
<context>
    <name>about_dlg</name>
    <message>
        <source>about ruv mdb client</source>
        <translation>关于 ruv mdb 客户端</translation>
    </message>
    <message>
        <source>About: memory database client is GUI client develop by ruv memory database team.</source>
        <translation>关于：内存数据库客户端是 ruv 内存数据库团队开发的图形界面客户端。</translation>
    </message>
    <message>
        <source>Version: 0.2.3, Build Date: 2024-05-09</source>
        <translation>版本：0.2.3，构建日期：2024-05-09</translation>
    </message>
    <message>
        <source>It logs in to an in-memory database server, runs SQL scripts and shows, edits, saves and loads its tables.</source>
        <translation>它登录内存数据库服务器，执行 SQL 脚本，并显示、编辑、保存和加载其中的表。</translation>
    </message>
    <message>
        <source>Licenses(&amp;L)</source>
        <translation>许可证(&amp;L)</translation>
    </message>
    <message>
        <source>ruv mdb client license</source>
        <translation>ruv mdb 客户端许可证</translation>
    </message>
</context>
<context>
    <name>login_dlg</name>
    <message>
        <source>Dialog</source>
        <translation>登录</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p align=&quot;center&quot;&gt;&lt;span style=&quot; font-size:15pt; font-weight:600;&quot;&gt;RUV Memory Database Login&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p align=&quot;center&quot;&gt;&lt;span style=&quot; font-size:15pt; font-weight:600;&quot;&gt;RUV 内存数据库登录&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;user : &lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;用户名：&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;password :&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;密码：&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;IP : &lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;IP：&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;port : &lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;端口：&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>set as default</source>
        <translation>设为默认</translation>
    </message>
    <message>
        <source>Login</source>
        <translation>登录</translation>
    </message>
    <message>
        <source>invalid ip</source>
        <translation>无效的 IP</translation>
    </message>
    <message>
        <source>invalid port</source>
        <translation>无效的端口</translation>
    </message>
    <message>
        <source>info</source>
        <translation>信息</translation>
    </message>
    <message>
        <source>invalid user or password</source>
        <translation>用户名或密码无效</translation>
    </message>
</context>
</TS>
