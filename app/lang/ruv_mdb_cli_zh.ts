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
    <message>
        <source>refresh(&amp;r)</source>
        <translation>刷新(&amp;r)</translation>
    </message>
    <message>
        <source>f5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>create table(&amp;c)</source>
        <translation>创建表(&amp;c)</translation>
    </message>
    <message>
        <source>f4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>reconnect(&amp;r)</source>
        <translation>重新连接(&amp;r)</translation>
    </message>
    <message>
        <source>status(&amp;s)</source>
        <translation>状态(&amp;s)</translation>
    </message>
    <message>
        <source>backup(&amp;b)</source>
        <translation>备份(&amp;b)</translation>
    </message>
    <message>
        <source>restore(&amp;r)</source>
        <translation>恢复(&amp;r)</translation>
    </message>
    <message>
        <source>execute sql(&amp;e)</source>
        <translation>执行 SQL(&amp;e)</translation>
    </message>
    <message>
        <source>f6</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>drop(&amp;d)</source>
        <translation>删除表(&amp;d)</translation>
    </message>
    <message>
        <source>truncate(&amp;t)</source>
        <translation>清空(&amp;t)</translation>
    </message>
    <message>
        <source>create field(&amp;c)</source>
        <translation>创建字段(&amp;c)</translation>
    </message>
    <message>
        <source>view data(&amp;v)</source>
        <translation>查看数据(&amp;v)</translation>
    </message>
    <message>
        <source>view field(&amp;v)</source>
        <translation>查看字段(&amp;v)</translation>
    </message>
    <message>
        <source>import(&amp;i)</source>
        <translation>导入(&amp;i)</translation>
    </message>
    <message>
        <source>export(&amp;e)</source>
        <translation>导出(&amp;e)</translation>
    </message>
    <message>
        <source>save table(&amp;s)</source>
        <translation>保存表(&amp;s)</translation>
    </message>
    <message>
        <source>load table(&amp;l)</source>
        <translation>加载表(&amp;l)</translation>
    </message>
    <message>
        <source>delete(&amp;d)</source>
        <translation>删除(&amp;d)</translation>
    </message>
    <message>
        <source>rename(&amp;r)</source>
        <translation>重命名(&amp;r)</translation>
    </message>
    <message>
        <source>modify(&amp;m)</source>
        <translation>修改(&amp;m)</translation>
    </message>
    <message>
        <source>cut(&amp;t)</source>
        <translation>剪切(&amp;t)</translation>
    </message>
    <message>
        <source>ctrl+x</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>copy(&amp;c)</source>
        <translation>复制(&amp;c)</translation>
    </message>
    <message>
        <source>ctrl+c</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>paste(&amp;p)</source>
        <translation>粘贴(&amp;p)</translation>
    </message>
    <message>
        <source>ctrl+v</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>redo(&amp;r)</source>
        <translation>重做(&amp;r)</translation>
    </message>
    <message>
        <source>ctrl+y</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>undo(&amp;u)</source>
        <translation>撤销(&amp;u)</translation>
    </message>
    <message>
        <source>ctrl+z</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>goto error(&amp;g)</source>
        <translation>转到错误(&amp;g)</translation>
    </message>
    <message>
        <source>ctrl+e</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>line begin</source>
        <translation>行首</translation>
    </message>
    <message>
        <source>line end</source>
        <translation>行尾</translation>
    </message>
    <message>
        <source>word begin</source>
        <translation>词首</translation>
    </message>
    <message>
        <source>word end</source>
        <translation>词尾</translation>
    </message>
    <message>
        <source>delete selection</source>
        <translation>删除选中内容</translation>
    </message>
    <message>
        <source>select beside</source>
        <translation>选择相邻内容</translation>
    </message>
    <message>
        <source>select all</source>
        <translation>全选</translation>
    </message>
    <message>
        <source>ctrl+a</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>select line</source>
        <translation>选择行</translation>
    </message>
    <message>
        <source>select word</source>
        <translation>选择单词</translation>
    </message>
    <message>
        <source>find</source>
        <translation>查找</translation>
    </message>
    <message>
        <source>ctrl+f</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>replace</source>
        <translation>替换</translation>
    </message>
    <message>
        <source>ctrl+h</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>execute selection</source>
        <translation>执行选中内容</translation>
    </message>
    <message>
        <source>execute current line</source>
        <translation>执行当前行</translation>
    </message>
    <message>
        <source>f7</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>format selection</source>
        <translation>格式化选中内容</translation>
    </message>
    <message>
        <source>new file(&amp;n)</source>
        <translation>新建文件(&amp;n)</translation>
    </message>
    <message>
        <source>ctrl+n</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>open file(&amp;o)</source>
        <translation>打开文件(&amp;o)</translation>
    </message>
    <message>
        <source>ctrl+o</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>save file(&amp;s)</source>
        <translation>保存文件(&amp;s)</translation>
    </message>
    <message>
        <source>ctrl+s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>save all files(&amp;a)</source>
        <translation>保存所有文件(&amp;a)</translation>
    </message>
    <message>
        <source>ctrl+shift+s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>save as (&amp;b)</source>
        <translation>另存为(&amp;b)</translation>
    </message>
    <message>
        <source>close file(&amp;c)</source>
        <translation>关闭文件(&amp;c)</translation>
    </message>
    <message>
        <source>ctrl+w</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>close all files(&amp;f)</source>
        <translation>关闭所有文件(&amp;f)</translation>
    </message>
    <message>
        <source>ctrl+shift+w</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>close except file(&amp;e)</source>
        <translation>关闭其他文件(&amp;e)</translation>
    </message>
    <message>
        <source>print file(&amp;p)</source>
        <translation>打印文件(&amp;p)</translation>
    </message>
    <message>
        <source>ctrl+p</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>quit(&amp;q)</source>
        <translation>退出(&amp;q)</translation>
    </message>
    <message>
        <source>ctrl+q</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>open recent files(&amp;r)</source>
        <translation>打开最近的文件(&amp;r)</translation>
    </message>
    <message>
        <source>clear file list</source>
        <translation>清除文件列表</translation>
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
