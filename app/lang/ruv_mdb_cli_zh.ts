<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh">
<context>
    <name>MainWindow</name>
    <message>
        <source>connection information</source>
        <translation>连接信息</translation>
    </message>
    <message>
        <source>reconnect now?</source>
        <translation>现在重新连接吗？</translation>
    </message>
    <message>
        <source>data oparation console</source>
        <translation>数据操作控制台</translation>
    </message>
    <message>
        <source>file(&amp;f)</source>
        <translation>文件(&amp;F)</translation>
    </message>
    <message>
        <source>database(&amp;d)</source>
        <translation>数据库(&amp;D)</translation>
    </message>
    <message>
        <source>edit(&amp;e)</source>
        <translation>编辑(&amp;E)</translation>
    </message>
    <message>
        <source>view(&amp;v)</source>
        <translation>视图(&amp;V)</translation>
    </message>
    <message>
        <source>icon(&amp;i)</source>
        <translation>图标(&amp;I)</translation>
    </message>
    <message>
        <source>window</source>
        <translation>窗口</translation>
    </message>
    <message>
        <source>option(&amp;o)</source>
        <translation>选项(&amp;O)</translation>
    </message>
    <message>
        <source>language</source>
        <translation>语言</translation>
    </message>
    <message>
        <source>help(&amp;h)</source>
        <translation>帮助(&amp;H)</translation>
    </message>
    <message>
        <source>document(&amp;d)</source>
        <translation>文档(&amp;D)</translation>
    </message>
    <message>
        <source>toolBar</source>
        <translation>工具栏</translation>
    </message>
    <message>
        <source>big(&amp;b)</source>
        <translation>大(&amp;B)</translation>
    </message>
    <message>
        <source>normal(&amp;n)</source>
        <translation>中(&amp;N)</translation>
    </message>
    <message>
        <source>small(&amp;s)</source>
        <translation>小(&amp;S)</translation>
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
        <translation>工具栏(&amp;T)</translation>
    </message>
    <message>
        <source>statusbar(&amp;s)</source>
        <translation>状态栏(&amp;S)</translation>
    </message>
    <message>
        <source>fullscreen(&amp;f)</source>
        <translation>全屏(&amp;F)</translation>
    </message>
    <message>
        <source>Ctrl+Shift+F11</source>
        <translation>Ctrl+Shift+F11</translation>
    </message>
    <message>
        <source>about(&amp;a)</source>
        <translation>关于(&amp;A)</translation>
    </message>
    <message>
        <source>online reference(&amp;o)</source>
        <translation>在线参考(&amp;O)</translation>
    </message>
    <message>
        <source>local(&amp;l)</source>
        <translation>本地(&amp;L)</translation>
    </message>
    <message>
        <source>update(&amp;u)</source>
        <translation>检查更新(&amp;U)</translation>
    </message>
    <message>
        <source>preference(&amp;p)</source>
        <translation>首选项(&amp;P)</translation>
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
        <translation>有新版本，请从网站更新！</translation>
    </message>
    <message>
        <source>the current version is latest version!</source>
        <translation>当前已是最新版本！</translation>
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
        <translation>刷新(&amp;R)</translation>
    </message>
    <message>
        <source>f5</source>
        <translation>f5</translation>
    </message>
    <message>
        <source>create table(&amp;c)</source>
        <translation>创建表(&amp;C)</translation>
    </message>
    <message>
        <source>f4</source>
        <translation>f4</translation>
    </message>
    <message>
        <source>reconnect(&amp;r)</source>
        <translation>重新连接(&amp;R)</translation>
    </message>
    <message>
        <source>status(&amp;s)</source>
        <translation>状态(&amp;S)</translation>
    </message>
    <message>
        <source>backup(&amp;b)</source>
        <translation>备份(&amp;B)</translation>
    </message>
    <message>
        <source>restore(&amp;r)</source>
        <translation>恢复(&amp;R)</translation>
    </message>
    <message>
        <source>execute sql(&amp;e)</source>
        <translation>执行 SQL(&amp;E)</translation>
    </message>
    <message>
        <source>f6</source>
        <translation>f6</translation>
    </message>
    <message>
        <source>drop(&amp;d)</source>
        <translation>删除表(&amp;D)</translation>
    </message>
    <message>
        <source>truncate(&amp;t)</source>
        <translation>清空表(&amp;T)</translation>
    </message>
    <message>
        <source>create field(&amp;c)</source>
        <translation>创建字段(&amp;C)</translation>
    </message>
    <message>
        <source>view data(&amp;v)</source>
        <translation>查看数据(&amp;V)</translation>
    </message>
    <message>
        <source>view field(&amp;v)</source>
        <translation>查看字段(&amp;V)</translation>
    </message>
    <message>
        <source>import(&amp;i)</source>
        <translation>导入(&amp;I)</translation>
    </message>
    <message>
        <source>export(&amp;e)</source>
        <translation>导出(&amp;E)</translation>
    </message>
    <message>
        <source>save table(&amp;s)</source>
        <translation>保存表(&amp;S)</translation>
    </message>
    <message>
        <source>load table(&amp;l)</source>
        <translation>加载表(&amp;L)</translation>
    </message>
    <message>
        <source>delete(&amp;d)</source>
        <translation>删除(&amp;D)</translation>
    </message>
    <message>
        <source>rename(&amp;r)</source>
        <translation>重命名(&amp;R)</translation>
    </message>
    <message>
        <source>modify(&amp;m)</source>
        <translation>修改(&amp;M)</translation>
    </message>
    <message>
        <source>cut(&amp;t)</source>
        <translation>剪切(&amp;T)</translation>
    </message>
    <message>
        <source>ctrl+x</source>
        <translation>ctrl+x</translation>
    </message>
    <message>
        <source>copy(&amp;c)</source>
        <translation>复制(&amp;C)</translation>
    </message>
    <message>
        <source>ctrl+c</source>
        <translation>ctrl+c</translation>
    </message>
    <message>
        <source>paste(&amp;p)</source>
        <translation>粘贴(&amp;P)</translation>
    </message>
    <message>
        <source>ctrl+v</source>
        <translation>ctrl+v</translation>
    </message>
    <message>
        <source>redo(&amp;r)</source>
        <translation>重做(&amp;R)</translation>
    </message>
    <message>
        <source>ctrl+y</source>
        <translation>ctrl+y</translation>
    </message>
    <message>
        <source>undo(&amp;u)</source>
        <translation>撤销(&amp;U)</translation>
    </message>
    <message>
        <source>ctrl+z</source>
        <translation>ctrl+z</translation>
    </message>
    <message>
        <source>goto error(&amp;g)</source>
        <translation>转到错误(&amp;G)</translation>
    </message>
    <message>
        <source>ctrl+e</source>
        <translation>ctrl+e</translation>
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
        <translation>删除所选内容</translation>
    </message>
    <message>
        <source>select beside</source>
        <translation>选择括号内内容</translation>
    </message>
    <message>
        <source>select all</source>
        <translation>全选</translation>
    </message>
    <message>
        <source>ctrl+a</source>
        <translation>ctrl+a</translation>
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
        <translation>ctrl+f</translation>
    </message>
    <message>
        <source>replace</source>
        <translation>替换</translation>
    </message>
    <message>
        <source>ctrl+h</source>
        <translation>ctrl+h</translation>
    </message>
    <message>
        <source>execute selection</source>
        <translation>执行所选内容</translation>
    </message>
    <message>
        <source>execute current line</source>
        <translation>执行当前行</translation>
    </message>
    <message>
        <source>f7</source>
        <translation>f7</translation>
    </message>
    <message>
        <source>format selection</source>
        <translation>格式化所选内容</translation>
    </message>
    <message>
        <source>new file(&amp;n)</source>
        <translation>新建文件(&amp;N)</translation>
    </message>
    <message>
        <source>ctrl+n</source>
        <translation>ctrl+n</translation>
    </message>
    <message>
        <source>open file(&amp;o)</source>
        <translation>打开文件(&amp;O)</translation>
    </message>
    <message>
        <source>ctrl+o</source>
        <translation>ctrl+o</translation>
    </message>
    <message>
        <source>save file(&amp;s)</source>
        <translation>保存文件(&amp;S)</translation>
    </message>
    <message>
        <source>ctrl+s</source>
        <translation>ctrl+s</translation>
    </message>
    <message>
        <source>save all files(&amp;a)</source>
        <translation>全部保存(&amp;A)</translation>
    </message>
    <message>
        <source>ctrl+shift+s</source>
        <translation>ctrl+shift+s</translation>
    </message>
    <message>
        <source>save as (&amp;b)</source>
        <translation>另存为(&amp;B)</translation>
    </message>
    <message>
        <source>close file(&amp;c)</source>
        <translation>关闭文件(&amp;C)</translation>
    </message>
    <message>
        <source>ctrl+w</source>
        <translation>ctrl+w</translation>
    </message>
    <message>
        <source>close all files(&amp;f)</source>
        <translation>关闭所有文件(&amp;F)</translation>
    </message>
    <message>
        <source>ctrl+shift+w</source>
        <translation>ctrl+shift+w</translation>
    </message>
    <message>
        <source>close except file(&amp;e)</source>
        <translation>关闭其他文件(&amp;E)</translation>
    </message>
    <message>
        <source>print file(&amp;p)</source>
        <translation>打印文件(&amp;P)</translation>
    </message>
    <message>
        <source>ctrl+p</source>
        <translation>ctrl+p</translation>
    </message>
    <message>
        <source>quit(&amp;q)</source>
        <translation>退出(&amp;Q)</translation>
    </message>
    <message>
        <source>ctrl+q</source>
        <translation>ctrl+q</translation>
    </message>
    <message>
        <source>open recent files(&amp;r)</source>
        <translation>最近打开的文件(&amp;R)</translation>
    </message>
    <message>
        <source>clear file list</source>
        <translation>清除文件列表</translation>
    </message>
    <message>
        <source>save failed</source>
        <translation>保存失败</translation>
    </message>
    <message>
        <source>these script files could not be saved:
%1
close anyway and lose their changes?</source>
        <translation>以下脚本文件无法保存：
%1
仍要关闭并丢失其更改吗？</translation>
    </message>
    <message>
        <source>edits not applied</source>
        <translation>编辑未应用</translation>
    </message>
    <message>
        <source>these tabs have edits not applied to the server:
%1
close anyway and lose them?</source>
        <translation>以下标签页有尚未应用到服务器的编辑：
%1
仍要关闭并丢弃这些编辑吗？</translation>
    </message>
    <message>
        <source>refresh information</source>
        <translation>刷新提示</translation>
    </message>
    <message>
        <source>the table &apos;%1&apos; is no longer in the database, the tab &apos;%2&apos; stays open with its edits not applied yet.</source>
        <translation>表“%1”已不在数据库中，标签页“%2”保持打开，其中的编辑尚未应用。</translation>
    </message>
    <message>
        <source>sql files (*.sql);;all files (*.*)</source>
        <translation>SQL 文件 (*.sql);;所有文件 (*.*)</translation>
    </message>
    <message>
        <source>scriptfile</source>
        <translation>脚本</translation>
    </message>
    <message>
        <source>the tab has no file</source>
        <translation>该标签页没有对应的文件</translation>
    </message>
    <message>
        <source>these script files could not be saved, their changes are kept in their tabs:
%1</source>
        <translation>以下脚本文件无法保存，其更改仍保留在各自的标签页中：
%1</translation>
    </message>
    <message>
        <source>set sql file&apos;s location</source>
        <translation>设置 SQL 文件的位置</translation>
    </message>
    <message>
        <source>open sql file to script editor</source>
        <translation>在脚本编辑器中打开 SQL 文件</translation>
    </message>
    <message>
        <source>open failed</source>
        <translation>打开失败</translation>
    </message>
    <message>
        <source>the file &quot;%1&quot; cannot be read!</source>
        <translation>无法读取文件“%1”！</translation>
    </message>
    <message>
        <source>file not exists</source>
        <translation>文件不存在</translation>
    </message>
    <message>
        <source>the file is not exists do your want to create new file?</source>
        <translation>文件不存在，是否创建新文件？</translation>
    </message>
    <message>
        <source>save as sql file to location</source>
        <translation>SQL 文件另存为</translation>
    </message>
    <message>
        <source>file path is same</source>
        <translation>文件路径相同</translation>
    </message>
    <message>
        <source>the selected path is same as original!</source>
        <translation>所选路径与原路径相同！</translation>
    </message>
    <message>
        <source>file already open</source>
        <translation>文件已打开</translation>
    </message>
    <message>
        <source>the file &quot;%1&quot; is already open in another tab!</source>
        <translation>文件“%1”已在另一个标签页中打开！</translation>
    </message>
    <message>
        <source>the tab &apos;%1&apos; has edits not applied to the server, close it and lose them?</source>
        <translation>标签页“%1”有尚未应用到服务器的编辑，要关闭它并丢弃这些编辑吗？</translation>
    </message>
    <message>
        <source>language changed</source>
        <translation>语言已更改</translation>
    </message>
    <message>
        <source>restart failed</source>
        <translation>重启失败</translation>
    </message>
    <message>
        <source>the application is not restarted, these script files could not be saved:
%1</source>
        <translation>应用程序未重启，以下脚本文件无法保存：
%1</translation>
    </message>
    <message>
        <source>the application could not be started again, the new language applies at the next start!</source>
        <translation>应用程序无法重新启动，新语言将在下次启动时生效！</translation>
    </message>
    <message>
        <source>the language change to Chinese, the application need restart, restart now?</source>
        <translation>语言已切换为中文，需要重启应用程序，是否立即重启？</translation>
    </message>
    <message>
        <source>the language change to English, the application need restart, restart now?</source>
        <translation>语言已切换为英语，需要重启应用程序，是否立即重启？</translation>
    </message>
    <message>
        <source>the language change to Français, the application need restart, restart now?</source>
        <translation>语言已切换为法语，需要重启应用程序，是否立即重启？</translation>
    </message>
    <message>
        <source>the language change to Japanese, the application need restart, restart now?</source>
        <translation>语言已切换为日语，需要重启应用程序，是否立即重启？</translation>
    </message>
    <message>
        <source>help information</source>
        <translation>帮助信息</translation>
    </message>
    <message>
        <source>the manual &quot;%1&quot; could not be opened!</source>
        <translation>无法打开手册“%1”！</translation>
    </message>
    <message>
        <source>the manual is not installed, it was looked for at:
%1</source>
        <translation>手册未安装，查找的位置：
%1</translation>
    </message>
    <message>
        <source>the page &quot;%1&quot; could not be opened!</source>
        <translation>无法打开页面“%1”！</translation>
    </message>
    <message>
        <source>reconnect information</source>
        <translation>重新连接提示</translation>
    </message>
    <message>
        <source>reconnect sussesful!</source>
        <translation>重新连接成功！</translation>
    </message>
    <message>
        <source>reconnect failed!</source>
        <translation>重新连接失败！</translation>
    </message>
    <message>
        <source>execute infomation</source>
        <translation>执行信息</translation>
    </message>
    <message>
        <source>the sql &quot;%1&quot; execute failed!</source>
        <translation>SQL“%1”执行失败！</translation>
    </message>
    <message>
        <source>the sql execute sussesful total!</source>
        <translation>全部 SQL 执行成功！</translation>
    </message>
    <message>
        <source>open sql file to execute</source>
        <translation>打开要执行的 SQL 文件</translation>
    </message>
    <message>
        <source>sql parse failed</source>
        <translation>SQL 解析失败</translation>
    </message>
    <message>
        <source>the sql parsed failed at position: %1</source>
        <translation>SQL 在位置 %1 处解析失败</translation>
    </message>
    <message>
        <source>successful</source>
        <translation>成功</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>失败</translation>
    </message>
    <message>
        <source>drop table warnning</source>
        <translation>删除表警告</translation>
    </message>
    <message>
        <source>drop table will delete table from server, do your want to drop table &apos;%1&apos; really?</source>
        <translation>删除表将从服务器上删除该表，确定要删除表“%1”吗？</translation>
    </message>
    <message>
        <source>drop table result</source>
        <translation>删除表结果</translation>
    </message>
    <message>
        <source>drop table &apos;%1&apos; from database is %2!</source>
        <translation>从数据库删除表“%1”%2！</translation>
    </message>
    <message>
        <source>truncate table warnning</source>
        <translation>清空表警告</translation>
    </message>
    <message>
        <source>truncate table will clear all table &apos;s data, do your want to truncate table &apos;%1&apos; really?</source>
        <translation>清空表将清除表中的所有数据，确定要清空表“%1”吗？</translation>
    </message>
    <message>
        <source>truncate table result</source>
        <translation>清空表结果</translation>
    </message>
    <message>
        <source>truncate table &apos;%1&apos; from database is %2!</source>
        <translation>清空表“%1”%2！</translation>
    </message>
    <message>
        <source>delete field warnning</source>
        <translation>删除字段警告</translation>
    </message>
    <message>
        <source>delete field will delete field from table, do your want to delete field &apos;%2&apos; from table &apos;%1&apos; really?</source>
        <translation>删除字段将从表中删除该字段，确定要从表“%1”中删除字段“%2”吗？</translation>
    </message>
    <message>
        <source>delete field result</source>
        <translation>删除字段结果</translation>
    </message>
    <message>
        <source>delete field &apos;%1&apos; from table &apos;%2&apos; is %3!</source>
        <translation>从表“%2”删除字段“%1”%3！</translation>
    </message>
    <message>
        <source>new table</source>
        <translation>新建表</translation>
    </message>
    <message>
        <source>add field to table: %1</source>
        <translation>向表添加字段：%1</translation>
    </message>
    <message>
        <source>modify field &apos;%2&apos; of table: %1</source>
        <translation>修改字段“%2”，表：%1</translation>
    </message>
    <message>
        <source>rename field &apos;%2&apos; of table: %1</source>
        <translation>重命名字段“%2”，表：%1</translation>
    </message>
    <message>
        <source>view fields of table: %1</source>
        <translation>查看表的字段：%1</translation>
    </message>
    <message>
        <source>data of table: %1</source>
        <translation>表数据：%1</translation>
    </message>
    <message>
        <source>Client</source>
        <translation>客户端</translation>
    </message>
    <message>
        <source>Server</source>
        <translation>服务器</translation>
    </message>
    <message>
        <source>export table: %1 to csv/csvs file</source>
        <translation>导出表 %1 到 csv/csvs 文件</translation>
    </message>
    <message>
        <source>import data from csv/csvs file to table: %1</source>
        <translation>从 csv/csvs 文件导入数据到表：%1</translation>
    </message>
    <message>
        <source>save table &apos;%1&apos; to file</source>
        <translation>将表“%1”保存到文件</translation>
    </message>
    <message>
        <source>load table from file</source>
        <translation>从文件加载表</translation>
    </message>
    <message>
        <source>backup database to file</source>
        <translation>将数据库备份到文件</translation>
    </message>
    <message>
        <source>restore database from file</source>
        <translation>从文件恢复数据库</translation>
    </message>
    <message>
        <source>export table result</source>
        <translation>导出表结果</translation>
    </message>
    <message>
        <source>export table &apos;%1&apos; to file &apos;%2&apos; is %3!</source>
        <translation>导出表“%1”到文件“%2”%3！</translation>
    </message>
    <message>
        <source>import table result</source>
        <translation>导入表结果</translation>
    </message>
    <message>
        <source>import file &apos;%1&apos; to table &apos;%2&apos; is %3!</source>
        <translation>导入文件“%1”到表“%2”%3！</translation>
    </message>
    <message>
        <source>save table result</source>
        <translation>保存表结果</translation>
    </message>
    <message>
        <source>save table &apos;%1&apos; to file &apos;%2&apos; is %3!</source>
        <translation>保存表“%1”到文件“%2”%3！</translation>
    </message>
    <message>
        <source>load file &apos;%1&apos; to as table &apos;%2&apos; is %3!</source>
        <translation>将文件“%1”加载为表“%2”%3！</translation>
    </message>
    <message>
        <source>load file &apos;%1&apos; as table is %2!</source>
        <translation>将文件“%1”加载为表%2！</translation>
    </message>
    <message>
        <source>load table result</source>
        <translation>加载表结果</translation>
    </message>
    <message>
        <source>backup result(%1)</source>
        <translation>备份结果（%1）</translation>
    </message>
    <message>
        <source>backup database to file &apos;%1&apos; is %2!</source>
        <translation>将数据库备份到文件“%1”%2！</translation>
    </message>
    <message>
        <source>restore result(%1)</source>
        <translation>恢复结果（%1）</translation>
    </message>
    <message>
        <source>restore database frome file &apos;%1&apos; is %2!</source>
        <translation>从文件“%1”恢复数据库%2！</translation>
    </message>
    <message>
        <source>the file &quot;%1&quot; is larger than the editor holds (2 GiB)!</source>
        <translation>文件“%1”超出编辑器可容纳的大小（2 GiB）！</translation>
    </message>
    <message>
        <source>the file &quot;%1&quot; could not be created: %2</source>
        <translation>无法创建文件“%1”：%2</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is a folder</source>
        <translation>“%1”是一个文件夹</translation>
    </message>
    <message>
        <source>the file &apos;%1&apos; already exists and the replace mode is off</source>
        <translation>文件“%1”已存在，且未开启覆盖模式</translation>
    </message>
    <message>
        <source>no file can be written at &apos;%1&apos;: %2</source>
        <translation>无法在“%1”写入文件：%2</translation>
    </message>
    <message>
        <source>the application is not restarted, the configuration could not be saved:
%1</source>
        <translation>应用程序未重新启动，无法保存配置：
%1</translation>
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
    <name>col_info</name>
    <message>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
    <message>
        <source>TableName</source>
        <translation>表名</translation>
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
        <translation>名称</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>类型</translation>
    </message>
    <message>
        <source>Repeat</source>
        <translation>可重复</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>应用</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>successful</source>
        <translation>成功</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>失败</translation>
    </message>
    <message>
        <source>create table result</source>
        <translation>创建表结果</translation>
    </message>
    <message>
        <source>create table &apos;%1&apos; is %2!</source>
        <translation>创建表“%1”%2！</translation>
    </message>
    <message>
        <source>create field result</source>
        <translation>创建字段结果</translation>
    </message>
    <message>
        <source>create field &apos;%1&apos; is %2!</source>
        <translation>创建字段“%1”%2！</translation>
    </message>
    <message>
        <source>create all field is %1!</source>
        <translation>创建全部字段%1！</translation>
    </message>
    <message>
        <source>modify field result</source>
        <translation>修改字段结果</translation>
    </message>
    <message>
        <source>modify field is %1!</source>
        <translation>修改字段%1！</translation>
    </message>
    <message>
        <source>rename field result</source>
        <translation>重命名字段结果</translation>
    </message>
    <message>
        <source>rename field &apos;%1&apos; to &apos;%2&apos; is %3!</source>
        <translation>将字段“%1”重命名为“%2”%3！</translation>
    </message>
</context>
<context>
    <name>data_view</name>
    <message>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
    <message>
        <source>name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Number Display Mode</source>
        <translation>数字显示方式</translation>
    </message>
    <message>
        <source>Nor</source>
        <translation>常规</translation>
    </message>
    <message>
        <source>Hex</source>
        <translation>十六进制</translation>
    </message>
    <message>
        <source>Dec</source>
        <translation>十进制</translation>
    </message>
    <message>
        <source>Bin</source>
        <translation>二进制</translation>
    </message>
    <message>
        <source>limit first k</source>
        <translation>仅取前 k 行</translation>
    </message>
    <message>
        <source>immediate mode</source>
        <translation>立即模式</translation>
    </message>
    <message>
        <source>filter</source>
        <translation>过滤</translation>
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
        <translation>后处理</translation>
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
        <translation>导出</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>应用</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>edit refused</source>
        <translation>编辑被拒绝</translation>
    </message>
    <message>
        <source>filter this</source>
        <translation>按此值过滤</translation>
    </message>
    <message>
        <source>append filter</source>
        <translation>追加到过滤条件</translation>
    </message>
    <message>
        <source>find text</source>
        <translation>查找文本</translation>
    </message>
    <message>
        <source>ctrl+f</source>
        <translation>ctrl+f</translation>
    </message>
    <message>
        <source>replace text</source>
        <translation>替换文本</translation>
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
        <translation>in 表</translation>
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
        <translation>升序</translation>
    </message>
    <message>
        <source>descending</source>
        <translation>降序</translation>
    </message>
    <message>
        <source>project</source>
        <translation>投影</translation>
    </message>
    <message>
        <source>except</source>
        <translation>排除</translation>
    </message>
    <message>
        <source>rename</source>
        <translation>重命名</translation>
    </message>
    <message>
        <source>compute</source>
        <translation>计算</translation>
    </message>
    <message>
        <source>group</source>
        <translation>分组</translation>
    </message>
    <message>
        <source>inner condition</source>
        <translation>行内条件</translation>
    </message>
    <message>
        <source>adjacent condition</source>
        <translation>相邻行条件</translation>
    </message>
    <message>
        <source>between condition</source>
        <translation>行间条件</translation>
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
        <translation>线性回归</translation>
    </message>
    <message>
        <source>logic regression</source>
        <translation>逻辑回归</translation>
    </message>
    <message>
        <source>decision tree</source>
        <translation>决策树</translation>
    </message>
    <message>
        <source>bayes</source>
        <translation>贝叶斯</translation>
    </message>
    <message>
        <source>svm</source>
        <translation>支持向量机</translation>
    </message>
    <message>
        <source>cluster</source>
        <translation>聚类</translation>
    </message>
    <message>
        <source>pca</source>
        <translation>主成分分析</translation>
    </message>
    <message>
        <source>random forest</source>
        <translation>随机森林</translation>
    </message>
    <message>
        <source>deep learning</source>
        <translation>深度学习</translation>
    </message>
    <message>
        <source>modeling</source>
        <translation>建模</translation>
    </message>
    <message>
        <source>scatter</source>
        <translation>散点图</translation>
    </message>
    <message>
        <source>line</source>
        <translation>折线图</translation>
    </message>
    <message>
        <source>bar</source>
        <translation>柱状图</translation>
    </message>
    <message>
        <source>area</source>
        <translation>面积图</translation>
    </message>
    <message>
        <source>pie</source>
        <translation>饼图</translation>
    </message>
    <message>
        <source>funnel</source>
        <translation>漏斗图</translation>
    </message>
    <message>
        <source>adt</source>
        <translation>adt</translation>
    </message>
    <message>
        <source>radar</source>
        <translation>雷达图</translation>
    </message>
    <message>
        <source>instrument</source>
        <translation>仪表盘</translation>
    </message>
    <message>
        <source>replace</source>
        <translation>替换</translation>
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
        <translation>重新加载表</translation>
    </message>
    <message>
        <source>the edits of table &apos;%1&apos; are not applied yet. reload and drop them?</source>
        <translation>表“%1”的编辑尚未应用。要重新加载并丢弃这些编辑吗？</translation>
    </message>
    <message>
        <source>apply result</source>
        <translation>应用结果</translation>
    </message>
    <message>
        <source>apply the edits of table &apos;%1&apos; failed! the edits are kept.</source>
        <translation>应用表“%1”的编辑失败！编辑已保留。</translation>
    </message>
    <message>
        <source>apply edits</source>
        <translation>应用编辑</translation>
    </message>
    <message>
        <source>the connection was lost after the edits of table &apos;%1&apos; were sent: the server may hold them already.
reload the table to see what the server holds (the edits not applied are dropped)? No applies the edits again anyway.</source>
        <translation>表“%1”的编辑发送后连接已断开：服务器可能已经保存了这些编辑。
重新加载该表以查看服务器中的内容（未应用的编辑将被丢弃）？选择“否”则仍然再次应用这些编辑。</translation>
    </message>
    <message>
        <source>there is no connection to the server: reconnect first, the edits are kept.</source>
        <translation>与服务器没有连接：请先重新连接，编辑已保留。</translation>
    </message>
    <message>
        <source>the connection to the server was lost after the edits of table &apos;%1&apos; were sent: the server may have applied them. the edits are kept; the next apply asks first.</source>
        <translation>表“%1”的编辑发送后与服务器的连接已断开：服务器可能已经应用了这些编辑。编辑已保留；下次应用前会先询问。</translation>
    </message>
    <message>
        <source>export view data</source>
        <translation>导出视图数据</translation>
    </message>
    <message>
        <source>export table result</source>
        <translation>导出表结果</translation>
    </message>
    <message>
        <source>export table &apos;%1&apos; to file &apos;%2&apos; is %3!</source>
        <translation>导出表“%1”到文件“%2”%3！</translation>
    </message>
    <message>
        <source>successful</source>
        <translation>成功</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>失败</translation>
    </message>
    <message>
        <source>find text in current table</source>
        <translation>在当前表中查找文本</translation>
    </message>
    <message>
        <source>replace text in current table</source>
        <translation>在当前表中替换文本</translation>
    </message>
    <message>
        <source>post processing</source>
        <translation>后处理</translation>
    </message>
    <message>
        <source>analysis</source>
        <translation>分析</translation>
    </message>
    <message>
        <source>visualization</source>
        <translation>可视化</translation>
    </message>
    <message>
        <source>the value of this cell is not a number: no comparison can be built from it.</source>
        <translation>此单元格的值不是数字：无法据此构建比较条件。</translation>
    </message>
    <message>
        <source>the value of this cell is infinite: no comparison can be built from it.</source>
        <translation>此单元格的值为无穷大：无法据此构建比较条件。</translation>
    </message>
    <message>
        <source>cancel edits</source>
        <translation>取消编辑</translation>
    </message>
    <message>
        <source>the edits of table &apos;%1&apos; are not applied yet. close and drop them?</source>
        <translation>表“%1”的编辑尚未应用。关闭并放弃这些编辑吗？</translation>
    </message>
    <message>
        <source>the text would be %1 bytes long, longer than the %2 bytes a statement can hold. it is left as it is.</source>
        <translation>文本将有 %1 字节，超过语句所能容纳的 %2 字节。文本保持不变。</translation>
    </message>
    <message>
        <source>the text leaves a string or character, a name in brackets, a block comment or a parenthesis open at its end: a clause joined to it could be read into it. it is left as it is.</source>
        <translation>文本末尾有未闭合的字符串或字符、方括号名称、块注释或括号：连接到它的子句可能被读入其中。保持原样。</translation>
    </message>
</context>
<context>
    <name>db_ctx</name>
    <message>
        <source>... (%1 in all)</source>
        <translation>...（共 %1）</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 字节</translation>
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
        <translation>执行 SQL：</translation>
    </message>
    <message>
        <source>result:</source>
        <translation>结果：</translation>
    </message>
    <message>
        <source>successful</source>
        <translation>成功</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>失败</translation>
    </message>
    <message>
        <source>use time:</source>
        <translation>耗时：</translation>
    </message>
    <message>
        <source>us.</source>
        <translation>微秒</translation>
    </message>
</context>
<context>
    <name>import_csv_dlg</name>
    <message>
        <source>Dialog</source>
        <translation>对话框</translation>
    </message>
    <message>
        <source>Server(note: the file is in remote server)</source>
        <translation>服务器（注意：文件位于远程服务器上）</translation>
    </message>
    <message>
        <source>Path</source>
        <translation>路径</translation>
    </message>
    <message>
        <source>Client</source>
        <translation>客户端</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>Spliter</source>
        <translation>分隔符</translation>
    </message>
    <message>
        <source>replace mode</source>
        <translation>覆盖模式</translation>
    </message>
    <message>
        <source>format</source>
        <translation>格式</translation>
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
        <translation>空格</translation>
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
        <translation>导出路径提示</translation>
    </message>
    <message>
        <source>import path information</source>
        <translation>导入路径提示</translation>
    </message>
    <message>
        <source>the input path is empty.</source>
        <translation>输入的路径为空。</translation>
    </message>
    <message>
        <source>csv files (*.csv);;csvs files (*.csvs);;all files (*.*)</source>
        <translation>csv 文件 (*.csv);;csvs 文件 (*.csvs);;所有文件 (*.*)</translation>
    </message>
    <message>
        <source>set export csv/csvs file</source>
        <translation>设置导出的 csv/csvs 文件</translation>
    </message>
    <message>
        <source>select import csv/csvs file</source>
        <translation>选择要导入的 csv/csvs 文件</translation>
    </message>
    <message>
        <source>replace mode information</source>
        <translation>覆盖模式提示</translation>
    </message>
    <message>
        <source>note: the replace mode will &lt;span style=&apos;color:orange&apos;&gt;replace exists file&lt;/span&gt;, continue?</source>
        <translation>注意：覆盖模式将&lt;span style=&apos;color:orange&apos;&gt;覆盖已有文件&lt;/span&gt;，是否继续？</translation>
    </message>
    <message>
        <source>note: change to client mode will use &lt;span style=&apos;color:orange&apos;&gt;big memory&lt;/span&gt; store all data for transform, should not use for &lt;span style=&apos;color:orange&apos;&gt;big data&lt;/span&gt;, do you want to continue?</source>
        <translation>注意：客户端模式将使用&lt;span style=&apos;color:orange&apos;&gt;大量内存&lt;/span&gt;存放全部待传输的数据，不适用于&lt;span style=&apos;color:orange&apos;&gt;大数据量&lt;/span&gt;，是否继续？</translation>
    </message>
    <message>
        <source>client mode information</source>
        <translation>客户端模式提示</translation>
    </message>
</context>
<context>
    <name>load_tab_dlg</name>
    <message>
        <source>Dialog</source>
        <translation>对话框</translation>
    </message>
    <message>
        <source>table name</source>
        <translation>表名</translation>
    </message>
    <message>
        <source>Server(note the input path is in remote server)</source>
        <translation>服务器（注意：输入的路径位于远程服务器上）</translation>
    </message>
    <message>
        <source>Path</source>
        <translation>路径</translation>
    </message>
    <message>
        <source>Client</source>
        <translation>客户端</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>format</source>
        <translation>格式</translation>
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
        <translation>注意：客户端模式将使用&lt;span style=&apos;color:orange&apos;&gt;大量内存&lt;/span&gt;进行传输，不适用于&lt;span style=&apos;color:orange&apos;&gt;大数据量&lt;/span&gt;，是否继续？</translation>
    </message>
    <message>
        <source>client mode information</source>
        <translation>客户端模式提示</translation>
    </message>
    <message>
        <source>select database file&apos;s path</source>
        <translation>选择数据库文件的路径</translation>
    </message>
    <message>
        <source>backup files (*.rbk);;all files (*.*)</source>
        <translation>备份文件 (*.rbk);;所有文件 (*.*)</translation>
    </message>
    <message>
        <source>select table file&apos;s path</source>
        <translation>选择表文件的路径</translation>
    </message>
    <message>
        <source>bin files (*.bin);;sql files (*.sql);;all files (*.*)</source>
        <translation>bin 文件 (*.bin);;SQL 文件 (*.sql);;所有文件 (*.*)</translation>
    </message>
    <message>
        <source>table name information</source>
        <translation>表名提示</translation>
    </message>
    <message>
        <source>the input table&apos;s name is empty.</source>
        <translation>输入的表名为空。</translation>
    </message>
    <message>
        <source>table path information</source>
        <translation>表路径提示</translation>
    </message>
    <message>
        <source>the input table&apos;s path is empty.</source>
        <translation>输入的表路径为空。</translation>
    </message>
    <message>
        <source>path information</source>
        <translation>路径提示</translation>
    </message>
    <message>
        <source>the input database file&apos;s path is empty.</source>
        <translation>输入的数据库文件路径为空。</translation>
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
    <message>
        <source>cannot connect to %1:%2: %3</source>
        <translation>无法连接到 %1:%2：%3</translation>
    </message>
</context>
<context>
    <name>ruv::editor</name>
    <message>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
    <message>
        <source>replace text in current windows</source>
        <translation>在当前窗口中替换文本</translation>
    </message>
    <message>
        <source>find text in current windows</source>
        <translation>在当前窗口中查找文本</translation>
    </message>
</context>
<context>
    <name>ruv::search_dlg</name>
    <message>
        <source>next research result</source>
        <translation>再次搜索下一个</translation>
    </message>
    <message>
        <source>the string &apos;%1&apos; not found.</source>
        <translation>未找到字符串“%1”。</translation>
    </message>
    <message>
        <source>next search result</source>
        <translation>搜索下一个</translation>
    </message>
    <message>
        <source>the string &apos;%1&apos; not found. continue from begin?</source>
        <translation>未找到字符串“%1”。是否从开头继续？</translation>
    </message>
    <message>
        <source>previous research result</source>
        <translation>再次搜索上一个</translation>
    </message>
    <message>
        <source>previous search result</source>
        <translation>搜索上一个</translation>
    </message>
    <message>
        <source>the string &apos;%1&apos; not found. continue from end?</source>
        <translation>未找到字符串“%1”。是否从末尾继续？</translation>
    </message>
    <message>
        <source>search result</source>
        <translation>搜索结果</translation>
    </message>
    <message>
        <source>the regular expression &apos;%1&apos; is invalid.</source>
        <translation>正则表达式“%1”无效。</translation>
    </message>
    <message>
        <source>the search stopped at the regular expression engine&apos;s limit.</source>
        <translation>搜索已达到正则表达式引擎的限制，已停止。</translation>
    </message>
    <message>
        <source>the string &apos;%1&apos; found %2 times.</source>
        <translation>找到字符串“%1”共 %2 处。</translation>
    </message>
    <message>
        <source>replace result</source>
        <translation>替换结果</translation>
    </message>
    <message>
        <source>the string &apos;%1&apos; %2 times replaced.</source>
        <translation>字符串“%1”已替换 %2 处。</translation>
    </message>
</context>
<context>
    <name>ruv::sql_script_editor</name>
    <message>
        <source>copy current text</source>
        <translation>复制当前文本</translation>
    </message>
    <message>
        <source>close all</source>
        <translation>全部关闭</translation>
    </message>
    <message>
        <source>close current</source>
        <translation>关闭当前页</translation>
    </message>
    <message>
        <source>export current data</source>
        <translation>导出当前数据</translation>
    </message>
    <message>
        <source>sql parse failed</source>
        <translation>SQL 解析失败</translation>
    </message>
    <message>
        <source>the sql parsed failed at position: %1</source>
        <translation>SQL 在位置 %1 处解析失败</translation>
    </message>
    <message>
        <source>find text</source>
        <translation>查找文本</translation>
    </message>
    <message>
        <source>execute infomation</source>
        <translation>执行信息</translation>
    </message>
    <message>
        <source>the sql &quot;%1&quot; execute failed!</source>
        <translation>SQL“%1”执行失败！</translation>
    </message>
    <message>
        <source>the sql execute sussesful total!</source>
        <translation>全部 SQL 执行成功！</translation>
    </message>
    <message>
        <source>export current windows execute result to csv/csvs file</source>
        <translation>将当前窗口的执行结果导出到 csv/csvs 文件</translation>
    </message>
</context>
<context>
    <name>save_tab_dlg</name>
    <message>
        <source>Dialog</source>
        <translation>对话框</translation>
    </message>
    <message>
        <source>Replace Mode</source>
        <translation>覆盖模式</translation>
    </message>
    <message>
        <source>Server(note the input path is in remote server)</source>
        <translation>服务器（注意：输入的路径位于远程服务器上）</translation>
    </message>
    <message>
        <source>Path</source>
        <translation>路径</translation>
    </message>
    <message>
        <source>Client</source>
        <translation>客户端</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>format</source>
        <translation>格式</translation>
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
        <translation>覆盖模式提示</translation>
    </message>
    <message>
        <source>note: the replace mode will &lt;span style=&apos;color:orange&apos;&gt;replace exists file&lt;/span&gt;, continue?</source>
        <translation>注意：覆盖模式将&lt;span style=&apos;color:orange&apos;&gt;覆盖已有文件&lt;/span&gt;，是否继续？</translation>
    </message>
    <message>
        <source>note: change to client mode will use &lt;span style=&apos;color:orange&apos;&gt;big memory&lt;/span&gt; store all data for transform, should not use for &lt;span style=&apos;color:orange&apos;&gt;big data&lt;/span&gt;, do you want to continue?</source>
        <translation>注意：客户端模式将使用&lt;span style=&apos;color:orange&apos;&gt;大量内存&lt;/span&gt;存放全部待传输的数据，不适用于&lt;span style=&apos;color:orange&apos;&gt;大数据量&lt;/span&gt;，是否继续？</translation>
    </message>
    <message>
        <source>client mode information</source>
        <translation>客户端模式提示</translation>
    </message>
    <message>
        <source>set database file&apos;s path</source>
        <translation>设置数据库文件的路径</translation>
    </message>
    <message>
        <source>backup files (*.rbk);;all files (*.*)</source>
        <translation>备份文件 (*.rbk);;所有文件 (*.*)</translation>
    </message>
    <message>
        <source>set table file&apos;s path</source>
        <translation>设置表文件的路径</translation>
    </message>
    <message>
        <source>bin files (*.bin);;sql files (*.sql);;all files (*.*)</source>
        <translation>bin 文件 (*.bin);;SQL 文件 (*.sql);;所有文件 (*.*)</translation>
    </message>
    <message>
        <source>path information</source>
        <translation>路径提示</translation>
    </message>
    <message>
        <source>the input path is empty.</source>
        <translation>输入的路径为空。</translation>
    </message>
</context>
<context>
    <name>search_dlg</name>
    <message>
        <source>Dialog</source>
        <translation>对话框</translation>
    </message>
    <message>
        <source>Target</source>
        <translation>查找内容</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>下一个</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>上一个</translation>
    </message>
    <message>
        <source>Find All</source>
        <translation>全部查找</translation>
    </message>
    <message>
        <source>Case-sentive</source>
        <translation>区分大小写</translation>
    </message>
    <message>
        <source>Match Word</source>
        <translation>全字匹配</translation>
    </message>
    <message>
        <source>Only Selection</source>
        <translation>仅所选内容</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>模式</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>普通</translation>
    </message>
    <message>
        <source>Regular Expression</source>
        <translation>正则表达式</translation>
    </message>
    <message>
        <source>Support(\n,\r,\x)</source>
        <translation>扩展(\n,\r,\x)</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>替换</translation>
    </message>
    <message>
        <source>Replace All</source>
        <translation>全部替换</translation>
    </message>
</context>
<context>
    <name>search_tab_dlg</name>
    <message>
        <source>Dialog</source>
        <translation>对话框</translation>
    </message>
    <message>
        <source>Target</source>
        <translation>查找内容</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>下一个</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>上一个</translation>
    </message>
    <message>
        <source>Find All</source>
        <translation>全部查找</translation>
    </message>
    <message>
        <source>Case-sentive</source>
        <translation>区分大小写</translation>
    </message>
    <message>
        <source>Match Word</source>
        <translation>全字匹配</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>模式</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>普通</translation>
    </message>
    <message>
        <source>Regular Expression</source>
        <translation>正则表达式</translation>
    </message>
    <message>
        <source>Support(\n,\r,\x)</source>
        <translation>扩展(\n,\r,\x)</translation>
    </message>
    <message>
        <source>Constraint</source>
        <translation>限定</translation>
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
        <translation>无</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>替换</translation>
    </message>
    <message>
        <source>Replace All</source>
        <translation>全部替换</translation>
    </message>
    <message>
        <source>next search result</source>
        <translation>搜索下一个</translation>
    </message>
    <message>
        <source>the string &apos;%1&apos; not found. continue from begin?</source>
        <translation>未找到字符串“%1”。是否从开头继续？</translation>
    </message>
    <message>
        <source>next research result</source>
        <translation>再次搜索下一个</translation>
    </message>
    <message>
        <source>the string &apos;%1&apos; not found.</source>
        <translation>未找到字符串“%1”。</translation>
    </message>
    <message>
        <source>previous search result</source>
        <translation>搜索上一个</translation>
    </message>
    <message>
        <source>the string &apos;%1&apos; not found. continue from end?</source>
        <translation>未找到字符串“%1”。是否从末尾继续？</translation>
    </message>
    <message>
        <source>previous research result</source>
        <translation>再次搜索上一个</translation>
    </message>
    <message>
        <source>search result</source>
        <translation>搜索结果</translation>
    </message>
    <message>
        <source>the string &apos;%1&apos; found %2 times.</source>
        <translation>找到字符串“%1”共 %2 处。</translation>
    </message>
    <message>
        <source>replace result</source>
        <translation>替换结果</translation>
    </message>
    <message>
        <source>the string &apos;%1&apos; %2 times replaced.</source>
        <translation>字符串“%1”已替换 %2 处。</translation>
    </message>
    <message>
        <source>find text in current table</source>
        <translation>在当前表中查找文本</translation>
    </message>
    <message>
        <source>the string &apos;%1&apos; is in a cell that can not be edited here, nothing was replaced.</source>
        <translation>字符串“%1”所在的单元格在此处不能编辑，未作任何替换。</translation>
    </message>
    <message>
        <source>the string &apos;%1&apos; is only in cells that can not be edited here, nothing was replaced.</source>
        <translation>字符串“%1”只出现在此处不能编辑的单元格中，未作任何替换。</translation>
    </message>
</context>
<context>
    <name>sql_script_editor</name>
    <message>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
    <message>
        <source>execute(&amp;e)</source>
        <translation>执行(&amp;E)</translation>
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
        <translation>“%1”不是普通文件</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be written: %2</source>
        <translation>无法写入“%1”：%2</translation>
    </message>
    <message>
        <source>settings not saved</source>
        <translation>设置未保存</translation>
    </message>
    <message>
        <source>the settings of this session could not be saved:
%1</source>
        <translation>无法保存本次会话的设置：
%1</translation>
    </message>
</context>
<context>
    <name>sys_pre_dlg</name>
    <message>
        <source>Dialog</source>
        <translation>对话框</translation>
    </message>
    <message>
        <source>editor</source>
        <translation>编辑器</translation>
    </message>
    <message>
        <source>update</source>
        <translation>更新</translation>
    </message>
    <message>
        <source> style</source>
        <translation> 样式</translation>
    </message>
    <message>
        <source>horizontal factor</source>
        <translation>水平系数</translation>
    </message>
    <message>
        <source>vertical factor</source>
        <translation>垂直系数</translation>
    </message>
    <message>
        <source>default</source>
        <translation>默认</translation>
    </message>
    <message>
        <source>default keyword</source>
        <translation>默认关键字</translation>
    </message>
    <message>
        <source>read keyword</source>
        <translation>读取关键字</translation>
    </message>
    <message>
        <source>write keyword</source>
        <translation>写入关键字</translation>
    </message>
    <message>
        <source>post keyword</source>
        <translation>后处理关键字</translation>
    </message>
    <message>
        <source>function</source>
        <translation>函数</translation>
    </message>
    <message>
        <source>table name</source>
        <translation>表名</translation>
    </message>
    <message>
        <source>field name</source>
        <translation>字段名</translation>
    </message>
    <message>
        <source>constant</source>
        <translation>常量</translation>
    </message>
    <message>
        <source>comment</source>
        <translation>注释</translation>
    </message>
    <message>
        <source>theme</source>
        <translation>主题</translation>
    </message>
    <message>
        <source> elegant</source>
        <translation> 典雅</translation>
    </message>
    <message>
        <source>fresh</source>
        <translation>清新</translation>
    </message>
    <message>
        <source>leisurely</source>
        <translation>悠闲</translation>
    </message>
    <message>
        <source>point size</source>
        <translation>字号</translation>
    </message>
    <message>
        <source>Bold</source>
        <translation>粗体</translation>
    </message>
    <message>
        <source>Italic</source>
        <translation>斜体</translation>
    </message>
    <message>
        <source>Overline</source>
        <translation>上划线</translation>
    </message>
    <message>
        <source>Underline</source>
        <translation>下划线</translation>
    </message>
    <message>
        <source>Strickout</source>
        <translation>删除线</translation>
    </message>
    <message>
        <source>color</source>
        <translation>颜色</translation>
    </message>
    <message>
        <source>reset(&amp;r)</source>
        <translation>重置(&amp;R)</translation>
    </message>
    <message>
        <source>show space</source>
        <translation>显示空格</translation>
    </message>
    <message>
        <source>edit</source>
        <translation>编辑</translation>
    </message>
    <message>
        <source>Tab Width:</source>
        <translation>制表符宽度：</translation>
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
        <translation>以空格插入</translation>
    </message>
    <message>
        <source>Edit as Continous in</source>
        <translation>视为连续编辑的间隔</translation>
    </message>
    <message>
        <source>second</source>
        <translation>秒</translation>
    </message>
    <message>
        <source>Edit Cursor</source>
        <translation>编辑光标</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>宽度</translation>
    </message>
    <message>
        <source>completion</source>
        <translation>自动补全</translation>
    </message>
    <message>
        <source>Enable</source>
        <translation>启用</translation>
    </message>
    <message>
        <source>least count</source>
        <translation>最少字符数</translation>
    </message>
    <message>
        <source>Only SQL</source>
        <translation>仅 SQL</translation>
    </message>
    <message>
        <source>preview</source>
        <translation>预览</translation>
    </message>
    <message>
        <source>Check Update</source>
        <translation>检查更新</translation>
    </message>
    <message>
        <source>applay(&amp;a)</source>
        <translation>应用(&amp;A)</translation>
    </message>
    <message>
        <source>cancel(&amp;c)</source>
        <translation>取消(&amp;C)</translation>
    </message>
    <message>
        <source>system preference</source>
        <translation>首选项</translation>
    </message>
</context>
<context>
    <name>tab_data_model</name>
    <message>
        <source>the value &apos;%1&apos; of field &apos;%2&apos; can not be written!</source>
        <translation>字段“%2”的值“%1”无法写入！</translation>
    </message>
    <message>
        <source>the field of column %1 has no name, its cells can not be written!</source>
        <translation>第 %1 列的字段没有名称，无法写入其单元格！</translation>
    </message>
</context>
<context>
    <name>transfer_texts</name>
    <message>
        <source>the connection to the server was lost; the server may have carried the transfer out</source>
        <translation>与服务器的连接已断开；服务器可能已完成该传输</translation>
    </message>
    <message>
        <source>the connection to the server was lost (%1); the server may have carried the transfer out</source>
        <translation>与服务器的连接已断开（%1）；服务器可能已完成该传输</translation>
    </message>
    <message>
        <source>the file &apos;%1&apos; could not be read: %2</source>
        <translation>无法读取文件“%1”：%2</translation>
    </message>
    <message>
        <source>the file &apos;%1&apos; is empty, nothing was sent</source>
        <translation>文件“%1”为空，未发送任何内容</translation>
    </message>
    <message>
        <source>the file &apos;%1&apos; has %2 bytes, more than the %3 bytes one statement can carry</source>
        <translation>文件“%1”有 %2 字节，超过一条语句可携带的 %3 字节</translation>
    </message>
    <message>
        <source>the file &apos;%1&apos; could not be written: %2</source>
        <translation>无法写入文件“%1”：%2</translation>
    </message>
    <message>
        <source>the server&apos;s reply holds no file content</source>
        <translation>服务器的回复不含文件内容</translation>
    </message>
    <message>
        <source>the file &apos;%1&apos; already exists and the replace mode is off</source>
        <translation>文件“%1”已存在，且未开启覆盖模式</translation>
    </message>
</context>
<context>
    <name>wire_events</name>
    <message>
        <source>another exchange with the server is under way.</source>
        <translation>另一个与服务器的交互正在进行。</translation>
    </message>
    <message>
        <source>the connection to %1:%2 was lost: %3</source>
        <translation>与 %1:%2 的连接已断开：%3</translation>
    </message>
    <message>
        <source>the server gave no answer to the login</source>
        <translation>服务器没有回应登录</translation>
    </message>
    <message>
        <source>the server closed the connection</source>
        <translation>服务器关闭了连接</translation>
    </message>
    <message>
        <source>the server&apos;s reply could not be read</source>
        <translation>无法读取服务器的应答</translation>
    </message>
    <message>
        <source>the wait for the server was cancelled, the connection is closed.</source>
        <translation>已取消等待服务器，连接已关闭。</translation>
    </message>
    <message>
        <source>there is no connection to the server.</source>
        <translation>没有与服务器的连接。</translation>
    </message>
</context>
<context>
    <name>wire_wait_dlg</name>
    <message>
        <source>%1 s, %2 bytes received</source>
        <translation>已用 %1 秒，已接收 %2 字节</translation>
    </message>
    <message>
        <source>cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>logging in to %1:%2</source>
        <translation>正在登录 %1:%2</translation>
    </message>
    <message>
        <source>logging out</source>
        <translation>正在退出登录</translation>
    </message>
    <message>
        <source>waiting for the server</source>
        <translation>等待服务器</translation>
    </message>
    <message>
        <source>waiting for the server: %1</source>
        <translation>正在等待服务器：%1</translation>
    </message>
</context>
</TS>
