<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en_US">
<context>
    <name>CCorvaneApp</name>
    <message>
        <source>Cannot open %1:
the file no longer exists.</source>
        <translation>无法打开 %1：
文件已不存在。</translation>
    </message>
    <message>
        <source>An administrator adds you to the group %1, then you log in again:</source>
        <translation>请系统管理员将您加入组 %1，然后重新登录：</translation>
    </message>
    <message>
        <source>The folder does not exist. Install the Corvane package, or an administrator makes the folder for the group dialout:</source>
        <translation>此文件夹不存在。请安装 Corvane 软件包，或由系统管理员为组 dialout 创建此文件夹：</translation>
    </message>
    <message>
        <source>An administrator makes the folder writable for the group dialout:</source>
        <translation>请系统管理员让组 dialout 可写入此文件夹：</translation>
    </message>
    <message>
        <source>Corvane cannot save the communication settings and the IP list in the folder
%1

%2
%3

Corvane keeps working; changes of the link and the IP list last until it ends.</source>
        <translation>Corvane 无法将通信设置和 IP 列表保存到文件夹
%1

%2
%3

Corvane 会继续运行；对连接和 IP 列表的更改只保留到程序结束。</translation>
    </message>
</context>
<context>
    <name>Framework</name>
    <message>
        <source>All Files (*)</source>
        <translation>所有文件 (*)</translation>
    </message>
    <message>
        <source>Failed to start print job.</source>
        <translation>无法启动打印作业。</translation>
    </message>
    <message>
        <source>No printer is installed.</source>
        <translation>未安装打印机。</translation>
    </message>
    <message>
        <source>New</source>
        <translation>新建</translation>
    </message>
    <message>
        <source>Save changes to %1?</source>
        <translation>是否保存对 %1 的更改？</translation>
    </message>
</context>
<context>
    <name>HyperLink</name>
    <message>
        <source>Unable to open hyperlink:

</source>
        <translation>无法打开超链接：

</translation>
    </message>
    <message>
        <source>The operating system is out
of memory or resources.</source>
        <translation>操作系统的内存
或资源不足。</translation>
    </message>
    <message>
        <source>The specified file was not found.</source>
        <translation>找不到指定的文件。</translation>
    </message>
    <message>
        <source>The specified path was not found.</source>
        <translation>找不到指定的路径。</translation>
    </message>
    <message>
        <source>The operating system denied
access to the specified file.</source>
        <translation>操作系统拒绝
访问指定的文件。</translation>
    </message>
    <message>
        <source>There was not enough memory to complete the operation.</source>
        <translation>内存不足，无法完成此操作。</translation>
    </message>
    <message>
        <source>The .EXE file is invalid
(non-Win32 .EXE or error in .EXE image).</source>
        <translation>.EXE 文件无效
(不是 Win32 .EXE，或 .EXE 映像有错误)。</translation>
    </message>
    <message>
        <source>A sharing violation occurred. </source>
        <translation>发生共享冲突。 </translation>
    </message>
    <message>
        <source>The filename association is
incomplete or invalid.</source>
        <translation>文件名的关联
不完整或无效。</translation>
    </message>
    <message>
        <source>The DDE transaction could not
be completed because the request timed out.</source>
        <translation>请求超时，
DDE 事务无法完成。</translation>
    </message>
    <message>
        <source>The DDE transaction failed.</source>
        <translation>DDE 事务失败。</translation>
    </message>
    <message>
        <source>The DDE transaction could not
be completed because other DDE transactions
were being processed.</source>
        <translation>其他 DDE 事务
正在处理中，
DDE 事务无法完成。</translation>
    </message>
    <message>
        <source>There is no application associated
with the given filename extension.</source>
        <translation>没有与此扩展名
关联的应用程序。</translation>
    </message>
    <message>
        <source>The specified dynamic-link library was not found.</source>
        <translation>找不到指定的动态链接库。</translation>
    </message>
    <message>
        <source>Unknown Error (%d) occurred.</source>
        <translation>发生未知错误 (%d)。</translation>
    </message>
</context>
<context>
    <name>LinkStatus</name>
    <message>
        <source>Ethernet</source>
        <translation>以太网</translation>
    </message>
    <message>
        <source>BROADCAST</source>
        <translation>广播</translation>
    </message>
    <message>
        <source>Driver</source>
        <translation>驱动程序</translation>
    </message>
</context>
<context>
    <name>MainFrame</name>
    <message>
        <source>Cannot Initialize Device List</source>
        <translation>无法初始化设备列表</translation>
    </message>
    <message>
        <source>Communication with MainFrame ok!</source>
        <translation>与主窗口的通信正常！</translation>
    </message>
</context>
<context>
    <name>Menu</name>
    <message>
        <source>&amp;View</source>
        <translation>视图(&amp;V)</translation>
    </message>
    <message>
        <source>&amp;Toolbars</source>
        <translation>工具栏(&amp;T)</translation>
    </message>
    <message>
        <source>&amp;Standard</source>
        <translation>标准(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>编辑(&amp;E)</translation>
    </message>
    <message>
        <source>&amp;Communication</source>
        <translation>通信(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Zelmar Applications</source>
        <translation>Zelmar 应用程序(&amp;Z)</translation>
    </message>
    <message>
        <source>&amp;Window</source>
        <translation>窗口(&amp;W)</translation>
    </message>
    <message>
        <source>&amp;Workspace</source>
        <translation>工作区(&amp;W)</translation>
    </message>
    <message>
        <source>&amp;Output</source>
        <translation>输出(&amp;O)</translation>
    </message>
    <message>
        <source>&amp;Status Bar</source>
        <translation>状态栏(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Communication Setting</source>
        <translation>通信设置(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Language</source>
        <translation>语言(&amp;L)</translation>
    </message>
    <message>
        <source>&amp;Run PLC</source>
        <translation>运行 PLC(&amp;R)</translation>
    </message>
    <message>
        <source>&amp;Stop PLC</source>
        <translation>停止 PLC(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Send Message</source>
        <translation>发送消息(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Customize...</source>
        <translation>自定义(&amp;C)...</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation>工具(&amp;T)</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>帮助(&amp;H)</translation>
    </message>
    <message>
        <source>&amp;Corvane User Manual</source>
        <translation>Corvane 用户手册(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Revision History</source>
        <translation>版本修订记录(&amp;R)</translation>
    </message>
    <message>
        <source>&amp;About Corvane...</source>
        <translation>关于 Corvane(&amp;A)...</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>文件(&amp;F)</translation>
    </message>
    <message>
        <source>&amp;New	Ctrl+N</source>
        <translation>新建(&amp;N)	Ctrl+N</translation>
    </message>
    <message>
        <source>&amp;Open...	Ctrl+O</source>
        <translation>打开(&amp;O)...	Ctrl+O</translation>
    </message>
    <message>
        <source>P&amp;rint Setup...</source>
        <translation>打印设置(&amp;R)...</translation>
    </message>
    <message>
        <source>Recent File</source>
        <translation>最近使用的文件</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>退出(&amp;X)</translation>
    </message>
    <message>
        <source>&amp;Save	Ctrl+S</source>
        <translation>保存(&amp;S)	Ctrl+S</translation>
    </message>
    <message>
        <source>Save &amp;As...	Ctrl+Alt+S</source>
        <translation>另存为(&amp;A)...	Ctrl+Alt+S</translation>
    </message>
    <message>
        <source>&amp;Print...	Ctrl+P</source>
        <translation>打印(&amp;P)...	Ctrl+P</translation>
    </message>
    <message>
        <source>Print Pre&amp;view</source>
        <translation>打印预览(&amp;V)</translation>
    </message>
    <message>
        <source>&amp;Cascade</source>
        <translation>层叠(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Tile</source>
        <translation>平铺(&amp;T)</translation>
    </message>
    <message>
        <source>Configure</source>
        <translation>配置</translation>
    </message>
</context>
<context>
    <name>Project</name>
    <message>
        <source>Corvane Project File (*.cvn)|*.cvn||</source>
        <translation>Corvane 项目文件 (*.cvn)|*.cvn||</translation>
    </message>
</context>
<context>
    <name>Strings</name>
    <message>
        <source>Corvane</source>
        <translation>Corvane</translation>
    </message>
    <message>
        <source>
System
XPC-PLC


Corvane.Document
XPC-PLC Document</source>
        <translation>
系统
XPC-PLC


Corvane.Document
XPC-PLC 文档</translation>
    </message>
    <message>
        <source>Please restart %1 to enable the language setting.</source>
        <translation>请重新启动 %1 以使语言设置生效。</translation>
    </message>
    <message>
        <source>Processing...</source>
        <translation>正在处理...</translation>
    </message>
    <message>
        <source>
Module Searching...</source>
        <translation>
正在搜索模块...</translation>
    </message>
    <message>
        <source>Cannot open the specified communication!</source>
        <translation>无法打开指定的通信连接！</translation>
    </message>
    <message>
        <source>Device not found! Please check the device connection.</source>
        <translation>未找到设备！请检查设备连接。</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>时间</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>描述</translation>
    </message>
    <message>
        <source>Invalid IP Address! IP address cannot be 0.0.0.0 or 255.255.255.</source>
        <translation>无效的 IP 地址！IP 地址不能为 0.0.0.0 或 255.255.255.255。</translation>
    </message>
    <message>
        <source>Network Type</source>
        <translation>网络类型</translation>
    </message>
    <message>
        <source>Ethernet</source>
        <translation>以太网</translation>
    </message>
    <message>
        <source>DeviceNet</source>
        <translation>DeviceNet</translation>
    </message>
    <message>
        <source>Communication Card</source>
        <translation>通信卡</translation>
    </message>
    <message>
        <source>SMX</source>
        <translation>SMX</translation>
    </message>
    <message>
        <source>Save changes to file?</source>
        <translation>是否将更改保存到文件？</translation>
    </message>
    <message>
        <source>The file is invalid! The project file has been modified!</source>
        <translation>文件无效！项目文件已被修改！</translation>
    </message>
    <message>
        <source>Show or hide the Standard toolbar
Standard</source>
        <translation>显示或隐藏标准工具栏
标准</translation>
    </message>
    <message>
        <source>Show or hide the Edit toolbar
Edit</source>
        <translation>显示或隐藏编辑工具栏
编辑</translation>
    </message>
    <message>
        <source>Show or hide the Communication toolbar
Communication</source>
        <translation>显示或隐藏通信工具栏
通信</translation>
    </message>
    <message>
        <source>Show or hide the Application toolbar
Application</source>
        <translation>显示或隐藏应用程序工具栏
应用程序</translation>
    </message>
    <message>
        <source>Show or hide the Window toolbar
Window</source>
        <translation>显示或隐藏窗口工具栏
窗口</translation>
    </message>
    <message>
        <source>Ethernet        </source>
        <translation>以太网        </translation>
    </message>
    <message>
        <source>255.255.255.255        </source>
        <translation>255.255.255.255        </translation>
    </message>
    <message>
        <source>Shows or hides workspace window
Workspace Window</source>
        <translation>显示或隐藏工作区窗口
工作区窗口</translation>
    </message>
    <message>
        <source>Shows or hides the output window
Output Window</source>
        <translation>显示或隐藏输出窗口
输出窗口</translation>
    </message>
    <message>
        <source>Search module
Search</source>
        <translation>搜索模块
搜索</translation>
    </message>
    <message>
        <source>IP Search module
IP Search</source>
        <translation>按 IP 搜索模块
IP 搜索</translation>
    </message>
    <message>
        <source>Open Virtual Port
Virtual Port</source>
        <translation>打开虚拟串口工具
虚拟串口</translation>
    </message>
    <message>
        <source>Open LadderStudio
LadderStudio</source>
        <translation>打开 LadderStudio
LadderStudio</translation>
    </message>
    <message>
        <source>Open LadderPad
LadderPad</source>
        <translation>打开 LadderPad
LadderPad</translation>
    </message>
    <message>
        <source>Open DriveTool
DriveTool</source>
        <translation>打开 DriveTool
DriveTool</translation>
    </message>
    <message>
        <source>Open ServoTool
ServoTool</source>
        <translation>打开 ServoTool
ServoTool</translation>
    </message>
    <message>
        <source>Open CardTool
CardTool</source>
        <translation>打开 CardTool
CardTool</translation>
    </message>
    <message>
        <source>Communication parameters setting
Communication setting</source>
        <translation>设置通信参数
通信设置</translation>
    </message>
    <message>
        <source>Send a message to the module
Send Message</source>
        <translation>向模块发送消息
发送消息</translation>
    </message>
    <message>
        <source>Language Setup
Language</source>
        <translation>语言设置
语言</translation>
    </message>
    <message>
        <source>Create a new document
New</source>
        <translation>创建新文档
新建</translation>
    </message>
    <message>
        <source>Open an existing document
Open</source>
        <translation>打开现有文档
打开</translation>
    </message>
    <message>
        <source>Save the active document
Save</source>
        <translation>保存活动文档
保存</translation>
    </message>
    <message>
        <source>Save the active document with a new name
Save As</source>
        <translation>用新名称保存活动文档
另存为</translation>
    </message>
    <message>
        <source>Corvane User Manual
Manual</source>
        <translation>Corvane 用户手册
用户手册</translation>
    </message>
    <message>
        <source>Revision History
History</source>
        <translation>版本修订记录
修订记录</translation>
    </message>
    <message>
        <source>Change the printer and printing options
Page Setup</source>
        <translation>更改打印机和打印选项
页面设置</translation>
    </message>
    <message>
        <source>Print the active document
Print</source>
        <translation>打印活动文档
打印</translation>
    </message>
    <message>
        <source>Display full pages
Print Preview</source>
        <translation>显示整页
打印预览</translation>
    </message>
    <message>
        <source>Open this document</source>
        <translation>打开此文档</translation>
    </message>
    <message>
        <source>Arrange windows so they overlap
Cascade Windows</source>
        <translation>层叠排列窗口
层叠窗口</translation>
    </message>
    <message>
        <source>Arrange windows as non-overlapping tiles
Tile Windows</source>
        <translation>将窗口平铺为互不重叠的区块
平铺窗口</translation>
    </message>
    <message>
        <source>Display program information, version number and copyright
About</source>
        <translation>显示程序信息、版本号和版权
关于</translation>
    </message>
    <message>
        <source>Quit the application; prompts to save documents
Exit</source>
        <translation>退出应用程序；提示保存文档
退出</translation>
    </message>
    <message>
        <source>Show or hide the status bar
Toggle StatusBar</source>
        <translation>显示或隐藏状态栏
切换状态栏</translation>
    </message>
</context>
<context>
    <name>ToolBar</name>
    <message>
        <source>Standard</source>
        <translation>标准</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>编辑</translation>
    </message>
    <message>
        <source>Communication</source>
        <translation>通信</translation>
    </message>
    <message>
        <source>Application</source>
        <translation>应用程序</translation>
    </message>
    <message>
        <source>Window</source>
        <translation>窗口</translation>
    </message>
</context>
<context>
    <name>corvane::CAboutDlg</name>
    <message>
        <source>About Corvane</source>
        <translation>关于 Corvane</translation>
    </message>
</context>
<context>
    <name>corvane::CConfigureDlg</name>
    <message>
        <source>Configure</source>
        <translation>配置</translation>
    </message>
    <message>
        <source>Module Selection</source>
        <translation>模块选择</translation>
    </message>
</context>
<context>
    <name>corvane::CDeviceTreeWnd</name>
    <message>
        <source>Configure</source>
        <translation>配置</translation>
    </message>
</context>
<context>
    <name>corvane::comm::CCommSetDlg</name>
    <message>
        <source>Communication Setting</source>
        <translation>通信设置</translation>
    </message>
    <message>
        <source>RS232</source>
        <translation>RS232</translation>
    </message>
    <message>
        <source>Ethernet</source>
        <translation>以太网</translation>
    </message>
    <message>
        <source>PORTHUB</source>
        <translation>PORTHUB</translation>
    </message>
    <message>
        <source>IP : </source>
        <translation>IP：</translation>
    </message>
    <message>
        <source>Driver</source>
        <translation>驱动程序</translation>
    </message>
    <message>
        <source>IP List</source>
        <translation>IP 列表</translation>
    </message>
    <message>
        <source>None</source>
        <translation>无</translation>
    </message>
    <message>
        <source>Odd</source>
        <translation>奇校验</translation>
    </message>
    <message>
        <source>Even</source>
        <translation>偶校验</translation>
    </message>
    <message>
        <source>ASCII</source>
        <translation>ASCII</translation>
    </message>
    <message>
        <source>RTU</source>
        <translation>RTU</translation>
    </message>
    <message>
        <source>Default</source>
        <translation>默认值</translation>
    </message>
    <message>
        <source>This window allows to set  Corvane communication parameters.</source>
        <translation>在此窗口中设置 Corvane 的通信参数。</translation>
    </message>
    <message>
        <source>Communication Type</source>
        <translation>通信类型</translation>
    </message>
    <message>
        <source>Network Interface</source>
        <translation>网络接口</translation>
    </message>
    <message>
        <source>Assign IP Address</source>
        <translation>指定 IP 地址</translation>
    </message>
    <message>
        <source>IP</source>
        <translation>IP</translation>
    </message>
    <message>
        <source>Protocol</source>
        <translation>协议</translation>
    </message>
    <message>
        <source>COM Port</source>
        <translation>COM 端口</translation>
    </message>
    <message>
        <source>Baud Rate</source>
        <translation>波特率</translation>
    </message>
    <message>
        <source>bps</source>
        <translation>bps</translation>
    </message>
    <message>
        <source>Data Length</source>
        <translation>数据长度</translation>
    </message>
    <message>
        <source>Parity</source>
        <translation>校验</translation>
    </message>
    <message>
        <source>Stop Bits</source>
        <translation>停止位</translation>
    </message>
    <message>
        <source>Station Address</source>
        <translation>站地址</translation>
    </message>
    <message>
        <source>Transfer Mode</source>
        <translation>传输模式</translation>
    </message>
    <message>
        <source>No Ethernet or wireless network adapter is available, so an Ethernet link cannot be set.
Connect a network adapter, or choose another communication type.</source>
        <translation>没有可用的以太网或无线网络适配器，因此无法设置以太网连接。
请连接网络适配器，或选择其他通信类型。</translation>
    </message>
    <message>
        <source>Line Settings...</source>
        <translation>线路设置...</translation>
    </message>
</context>
<context>
    <name>corvane::comm::CSerialLineDlg</name>
    <message>
        <source>Serial Line Settings</source>
        <translation>串行线路设置</translation>
    </message>
    <message>
        <source>Device</source>
        <translation>设备</translation>
    </message>
    <message>
        <source>Response time</source>
        <translation>响应时间</translation>
    </message>
    <message>
        <source>How long a device may take before its reply begins; the reply&apos;s own time on the line is added. For every port.</source>
        <translation>设备开始回复前可用的时间；回复本身在线路上的传输时间另行加上。适用于所有端口。</translation>
    </message>
    <message>
        <source>RS-485 direction control (RTS on while sending)</source>
        <translation>RS-485 方向控制（发送时 RTS 有效）</translation>
    </message>
    <message>
        <source>Delay before send</source>
        <translation>发送前延时</translation>
    </message>
    <message>
        <source>Delay after send</source>
        <translation>发送后延时</translation>
    </message>
    <message>
        <source>Only for %1, and only where its driver offers the kernel&apos;s RS-485 mode.</source>
        <translation>仅用于 %1，且仅在其驱动程序提供内核 RS-485 模式时有效。</translation>
    </message>
    <message>
        <source>The line settings could not be stored: the settings folder cannot be written by this user.</source>
        <translation>无法保存线路设置：此用户无法写入设置文件夹。</translation>
    </message>
</context>
<context>
    <name>corvane::comm::CIPListDlg</name>
    <message>
        <source>IP Setup</source>
        <translation>IP 设置</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>添加</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Broadcast IP</source>
        <translation>广播 IP</translation>
    </message>
    <message>
        <source>IP List</source>
        <translation>IP 列表</translation>
    </message>
</context>
</TS>
