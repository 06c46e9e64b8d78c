<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW" sourcelanguage="en_US">
<context>
    <name>CCorvaneApp</name>
    <message>
        <source>Cannot open %1:
the file no longer exists.</source>
        <translation>無法開啟 %1：
檔案已不存在。</translation>
    </message>
    <message>
        <source>An administrator adds you to the group %1, then you log in again:</source>
        <translation>請系統管理員將您加入群組 %1，然後重新登入：</translation>
    </message>
    <message>
        <source>The folder does not exist. Install the Corvane package, or an administrator makes the folder for the group dialout:</source>
        <translation>此資料夾不存在。請安裝 Corvane 套件，或由系統管理員為群組 dialout 建立此資料夾：</translation>
    </message>
    <message>
        <source>An administrator makes the folder writable for the group dialout:</source>
        <translation>請系統管理員讓群組 dialout 可寫入此資料夾：</translation>
    </message>
    <message>
        <source>Corvane cannot save the communication settings and the IP list in the folder
%1

%2
%3

Corvane keeps working; changes of the link and the IP list last until it ends.</source>
        <translation>Corvane 無法將通訊設定與 IP 清單儲存到資料夾
%1

%2
%3

Corvane 會繼續執行；對連線與 IP 清單的變更只保留到程式結束。</translation>
    </message>
</context>
<context>
    <name>Framework</name>
    <message>
        <source>All Files (*)</source>
        <translation>所有檔案 (*)</translation>
    </message>
    <message>
        <source>Failed to start print job.</source>
        <translation>無法啟動列印工作。</translation>
    </message>
    <message>
        <source>No printer is installed.</source>
        <translation>未安裝印表機。</translation>
    </message>
    <message>
        <source>New</source>
        <translation>新增</translation>
    </message>
    <message>
        <source>Save changes to %1?</source>
        <translation>是否儲存對 %1 的變更？</translation>
    </message>
</context>
<context>
    <name>HyperLink</name>
    <message>
        <source>Unable to open hyperlink:

</source>
        <translation>無法開啟超連結：

</translation>
    </message>
    <message>
        <source>The operating system is out
of memory or resources.</source>
        <translation>作業系統的記憶體
或資源不足。</translation>
    </message>
    <message>
        <source>The specified file was not found.</source>
        <translation>找不到指定的檔案。</translation>
    </message>
    <message>
        <source>The specified path was not found.</source>
        <translation>找不到指定的路徑。</translation>
    </message>
    <message>
        <source>The operating system denied
access to the specified file.</source>
        <translation>作業系統拒絕
存取指定的檔案。</translation>
    </message>
    <message>
        <source>There was not enough memory to complete the operation.</source>
        <translation>記憶體不足，無法完成此操作。</translation>
    </message>
    <message>
        <source>The .EXE file is invalid
(non-Win32 .EXE or error in .EXE image).</source>
        <translation>.EXE 檔案無效
(不是 Win32 .EXE，或 .EXE 映像檔有錯誤)。</translation>
    </message>
    <message>
        <source>A sharing violation occurred. </source>
        <translation>發生共用違規。 </translation>
    </message>
    <message>
        <source>The filename association is
incomplete or invalid.</source>
        <translation>檔案名稱的關聯
不完整或無效。</translation>
    </message>
    <message>
        <source>The DDE transaction could not
be completed because the request timed out.</source>
        <translation>要求逾時，
DDE 交易無法完成。</translation>
    </message>
    <message>
        <source>The DDE transaction failed.</source>
        <translation>DDE 交易失敗。</translation>
    </message>
    <message>
        <source>The DDE transaction could not
be completed because other DDE transactions
were being processed.</source>
        <translation>其他 DDE 交易
正在處理中，
DDE 交易無法完成。</translation>
    </message>
    <message>
        <source>There is no application associated
with the given filename extension.</source>
        <translation>沒有與此副檔名
關聯的應用程式。</translation>
    </message>
    <message>
        <source>The specified dynamic-link library was not found.</source>
        <translation>找不到指定的動態連結程式庫。</translation>
    </message>
    <message>
        <source>Unknown Error (%d) occurred.</source>
        <translation>發生未知的錯誤 (%d)。</translation>
    </message>
</context>
<context>
    <name>LinkStatus</name>
    <message>
        <source>Ethernet</source>
        <translation>乙太網路</translation>
    </message>
    <message>
        <source>BROADCAST</source>
        <translation>廣播</translation>
    </message>
    <message>
        <source>Driver</source>
        <translation>驅動程式</translation>
    </message>
</context>
<context>
    <name>MainFrame</name>
    <message>
        <source>Cannot Initialize Device List</source>
        <translation>無法初始化裝置清單</translation>
    </message>
    <message>
        <source>Communication with MainFrame ok!</source>
        <translation>與主視窗的通訊正常！</translation>
    </message>
</context>
<context>
    <name>Menu</name>
    <message>
        <source>&amp;View</source>
        <translation>檢視(&amp;V)</translation>
    </message>
    <message>
        <source>&amp;Toolbars</source>
        <translation>工具列(&amp;T)</translation>
    </message>
    <message>
        <source>&amp;Standard</source>
        <translation>標準(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>編輯(&amp;E)</translation>
    </message>
    <message>
        <source>&amp;Communication</source>
        <translation>通訊(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Zelmar Applications</source>
        <translation>Zelmar 應用程式(&amp;Z)</translation>
    </message>
    <message>
        <source>&amp;Window</source>
        <translation>視窗(&amp;W)</translation>
    </message>
    <message>
        <source>&amp;Workspace</source>
        <translation>工作區(&amp;W)</translation>
    </message>
    <message>
        <source>&amp;Output</source>
        <translation>輸出(&amp;O)</translation>
    </message>
    <message>
        <source>&amp;Status Bar</source>
        <translation>狀態列(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Communication Setting</source>
        <translation>通訊設定(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Language</source>
        <translation>語言(&amp;L)</translation>
    </message>
    <message>
        <source>&amp;Run PLC</source>
        <translation>執行 PLC(&amp;R)</translation>
    </message>
    <message>
        <source>&amp;Stop PLC</source>
        <translation>停止 PLC(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Send Message</source>
        <translation>傳送訊息(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Customize...</source>
        <translation>自訂(&amp;C)...</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation>工具(&amp;T)</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>說明(&amp;H)</translation>
    </message>
    <message>
        <source>&amp;Corvane User Manual</source>
        <translation>Corvane 使用手冊(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Revision History</source>
        <translation>版本修訂記錄(&amp;R)</translation>
    </message>
    <message>
        <source>&amp;About Corvane...</source>
        <translation>關於 Corvane(&amp;A)...</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>檔案(&amp;F)</translation>
    </message>
    <message>
        <source>&amp;New	Ctrl+N</source>
        <translation>開新檔案(&amp;N)	Ctrl+N</translation>
    </message>
    <message>
        <source>&amp;Open...	Ctrl+O</source>
        <translation>開啟舊檔(&amp;O)...	Ctrl+O</translation>
    </message>
    <message>
        <source>P&amp;rint Setup...</source>
        <translation>列印設定(&amp;R)...</translation>
    </message>
    <message>
        <source>Recent File</source>
        <translation>最近使用的檔案</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>結束(&amp;X)</translation>
    </message>
    <message>
        <source>&amp;Save	Ctrl+S</source>
        <translation>儲存檔案(&amp;S)	Ctrl+S</translation>
    </message>
    <message>
        <source>Save &amp;As...	Ctrl+Alt+S</source>
        <translation>另存新檔(&amp;A)...	Ctrl+Alt+S</translation>
    </message>
    <message>
        <source>&amp;Print...	Ctrl+P</source>
        <translation>列印(&amp;P)...	Ctrl+P</translation>
    </message>
    <message>
        <source>Print Pre&amp;view</source>
        <translation>預覽列印(&amp;V)</translation>
    </message>
    <message>
        <source>&amp;Cascade</source>
        <translation>重疊顯示(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Tile</source>
        <translation>並排顯示(&amp;T)</translation>
    </message>
    <message>
        <source>Configure</source>
        <translation>組態設定</translation>
    </message>
</context>
<context>
    <name>Project</name>
    <message>
        <source>Corvane Project File (*.cvn)|*.cvn||</source>
        <translation>Corvane 專案檔 (*.cvn)|*.cvn||</translation>
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
系統
XPC-PLC


Corvane.Document
XPC-PLC 文件</translation>
    </message>
    <message>
        <source>Please restart %1 to enable the language setting.</source>
        <translation>請重新啟動 %1 以套用語言設定。</translation>
    </message>
    <message>
        <source>Processing...</source>
        <translation>處理中...</translation>
    </message>
    <message>
        <source>
Module Searching...</source>
        <translation>
正在搜尋模組...</translation>
    </message>
    <message>
        <source>Cannot open the specified communication!</source>
        <translation>無法開啟指定的通訊連線！</translation>
    </message>
    <message>
        <source>Device not found! Please check the device connection.</source>
        <translation>找不到裝置！請檢查裝置的連線。</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>時間</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>描述</translation>
    </message>
    <message>
        <source>Invalid IP Address! IP address cannot be 0.0.0.0 or 255.255.255.</source>
        <translation>無效的 IP 位址！IP 位址不可為 0.0.0.0 或 255.255.255.255。</translation>
    </message>
    <message>
        <source>Network Type</source>
        <translation>網路類型</translation>
    </message>
    <message>
        <source>Ethernet</source>
        <translation>乙太網路</translation>
    </message>
    <message>
        <source>DeviceNet</source>
        <translation>DeviceNet</translation>
    </message>
    <message>
        <source>Communication Card</source>
        <translation>通訊卡</translation>
    </message>
    <message>
        <source>SMX</source>
        <translation>SMX</translation>
    </message>
    <message>
        <source>Save changes to file?</source>
        <translation>是否將變更儲存至檔案？</translation>
    </message>
    <message>
        <source>The file is invalid! The project file has been modified!</source>
        <translation>檔案無效！專案檔已遭修改！</translation>
    </message>
    <message>
        <source>Show or hide the Standard toolbar
Standard</source>
        <translation>顯示或隱藏標準工具列
標準</translation>
    </message>
    <message>
        <source>Show or hide the Edit toolbar
Edit</source>
        <translation>顯示或隱藏編輯工具列
編輯</translation>
    </message>
    <message>
        <source>Show or hide the Communication toolbar
Communication</source>
        <translation>顯示或隱藏通訊工具列
通訊</translation>
    </message>
    <message>
        <source>Show or hide the Application toolbar
Application</source>
        <translation>顯示或隱藏應用程式工具列
應用程式</translation>
    </message>
    <message>
        <source>Show or hide the Window toolbar
Window</source>
        <translation>顯示或隱藏視窗工具列
視窗</translation>
    </message>
    <message>
        <source>Ethernet        </source>
        <translation>乙太網路        </translation>
    </message>
    <message>
        <source>255.255.255.255        </source>
        <translation>255.255.255.255        </translation>
    </message>
    <message>
        <source>Shows or hides workspace window
Workspace Window</source>
        <translation>顯示或隱藏工作區視窗
工作區視窗</translation>
    </message>
    <message>
        <source>Shows or hides the output window
Output Window</source>
        <translation>顯示或隱藏輸出視窗
輸出視窗</translation>
    </message>
    <message>
        <source>Search module
Search</source>
        <translation>搜尋模組
搜尋</translation>
    </message>
    <message>
        <source>IP Search module
IP Search</source>
        <translation>依 IP 搜尋模組
IP 搜尋</translation>
    </message>
    <message>
        <source>Open Virtual Port
Virtual Port</source>
        <translation>開啟虛擬通訊埠工具
虛擬通訊埠</translation>
    </message>
    <message>
        <source>Open LadderStudio
LadderStudio</source>
        <translation>開啟 LadderStudio
LadderStudio</translation>
    </message>
    <message>
        <source>Open LadderPad
LadderPad</source>
        <translation>開啟 LadderPad
LadderPad</translation>
    </message>
    <message>
        <source>Open DriveTool
DriveTool</source>
        <translation>開啟 DriveTool
DriveTool</translation>
    </message>
    <message>
        <source>Open ServoTool
ServoTool</source>
        <translation>開啟 ServoTool
ServoTool</translation>
    </message>
    <message>
        <source>Open CardTool
CardTool</source>
        <translation>開啟 CardTool
CardTool</translation>
    </message>
    <message>
        <source>Communication parameters setting
Communication setting</source>
        <translation>設定通訊參數
通訊設定</translation>
    </message>
    <message>
        <source>Send a message to the module
Send Message</source>
        <translation>傳送訊息給模組
傳送訊息</translation>
    </message>
    <message>
        <source>Language Setup
Language</source>
        <translation>語言設定
語言</translation>
    </message>
    <message>
        <source>Create a new document
New</source>
        <translation>建立新文件
開新檔案</translation>
    </message>
    <message>
        <source>Open an existing document
Open</source>
        <translation>開啟現有的文件
開啟舊檔</translation>
    </message>
    <message>
        <source>Save the active document
Save</source>
        <translation>儲存使用中的文件
儲存檔案</translation>
    </message>
    <message>
        <source>Save the active document with a new name
Save As</source>
        <translation>以新名稱儲存使用中的文件
另存新檔</translation>
    </message>
    <message>
        <source>Corvane User Manual
Manual</source>
        <translation>Corvane 使用手冊
使用手冊</translation>
    </message>
    <message>
        <source>Revision History
History</source>
        <translation>版本修訂記錄
修訂記錄</translation>
    </message>
    <message>
        <source>Change the printer and printing options
Page Setup</source>
        <translation>變更印表機及列印選項
版面設定</translation>
    </message>
    <message>
        <source>Print the active document
Print</source>
        <translation>列印使用中的文件
列印</translation>
    </message>
    <message>
        <source>Display full pages
Print Preview</source>
        <translation>顯示整頁
預覽列印</translation>
    </message>
    <message>
        <source>Open this document</source>
        <translation>開啟此文件</translation>
    </message>
    <message>
        <source>Arrange windows so they overlap
Cascade Windows</source>
        <translation>重疊排列視窗
重疊視窗</translation>
    </message>
    <message>
        <source>Arrange windows as non-overlapping tiles
Tile Windows</source>
        <translation>將視窗並排為互不重疊的區塊
並排視窗</translation>
    </message>
    <message>
        <source>Display program information, version number and copyright
About</source>
        <translation>顯示程式資訊、版本編號與著作權
關於</translation>
    </message>
    <message>
        <source>Quit the application; prompts to save documents
Exit</source>
        <translation>結束應用程式；會提示儲存文件
結束</translation>
    </message>
    <message>
        <source>Show or hide the status bar
Toggle StatusBar</source>
        <translation>顯示或隱藏狀態列
切換狀態列</translation>
    </message>
</context>
<context>
    <name>ToolBar</name>
    <message>
        <source>Standard</source>
        <translation>標準</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>編輯</translation>
    </message>
    <message>
        <source>Communication</source>
        <translation>通訊</translation>
    </message>
    <message>
        <source>Application</source>
        <translation>應用程式</translation>
    </message>
    <message>
        <source>Window</source>
        <translation>視窗</translation>
    </message>
</context>
<context>
    <name>corvane::CAboutDlg</name>
    <message>
        <source>About Corvane</source>
        <translation>關於 Corvane</translation>
    </message>
</context>
<context>
    <name>corvane::CConfigureDlg</name>
    <message>
        <source>Configure</source>
        <translation>組態設定</translation>
    </message>
    <message>
        <source>Module Selection</source>
        <translation>模組選擇</translation>
    </message>
</context>
<context>
    <name>corvane::CDeviceTreeWnd</name>
    <message>
        <source>Configure</source>
        <translation>組態設定</translation>
    </message>
</context>
<context>
    <name>corvane::comm::CCommSetDlg</name>
    <message>
        <source>Communication Setting</source>
        <translation>通訊設定</translation>
    </message>
    <message>
        <source>RS232</source>
        <translation>RS232</translation>
    </message>
    <message>
        <source>Ethernet</source>
        <translation>乙太網路</translation>
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
        <translation>驅動程式</translation>
    </message>
    <message>
        <source>IP List</source>
        <translation>IP 清單</translation>
    </message>
    <message>
        <source>None</source>
        <translation>無</translation>
    </message>
    <message>
        <source>Odd</source>
        <translation>奇同位</translation>
    </message>
    <message>
        <source>Even</source>
        <translation>偶同位</translation>
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
        <translation>預設值</translation>
    </message>
    <message>
        <source>This window allows to set  Corvane communication parameters.</source>
        <translation>在此視窗中設定 Corvane 的通訊參數。</translation>
    </message>
    <message>
        <source>Communication Type</source>
        <translation>通訊類型</translation>
    </message>
    <message>
        <source>Network Interface</source>
        <translation>網路介面</translation>
    </message>
    <message>
        <source>Assign IP Address</source>
        <translation>指定 IP 位址</translation>
    </message>
    <message>
        <source>IP</source>
        <translation>IP</translation>
    </message>
    <message>
        <source>Protocol</source>
        <translation>通訊協定</translation>
    </message>
    <message>
        <source>COM Port</source>
        <translation>COM 埠</translation>
    </message>
    <message>
        <source>Baud Rate</source>
        <translation>鮑率</translation>
    </message>
    <message>
        <source>bps</source>
        <translation>bps</translation>
    </message>
    <message>
        <source>Data Length</source>
        <translation>資料長度</translation>
    </message>
    <message>
        <source>Parity</source>
        <translation>同位檢查</translation>
    </message>
    <message>
        <source>Stop Bits</source>
        <translation>停止位元</translation>
    </message>
    <message>
        <source>Station Address</source>
        <translation>站號</translation>
    </message>
    <message>
        <source>Transfer Mode</source>
        <translation>傳輸模式</translation>
    </message>
    <message>
        <source>No Ethernet or wireless network adapter is available, so an Ethernet link cannot be set.
Connect a network adapter, or choose another communication type.</source>
        <translation>沒有可用的乙太網路或無線網路介面卡，因此無法設定乙太網路連線。
請連接網路介面卡，或選擇其他通訊類型。</translation>
    </message>
    <message>
        <source>Line Settings...</source>
        <translation>線路設定...</translation>
    </message>
</context>
<context>
    <name>corvane::comm::CSerialLineDlg</name>
    <message>
        <source>Serial Line Settings</source>
        <translation>序列線路設定</translation>
    </message>
    <message>
        <source>Device</source>
        <translation>裝置</translation>
    </message>
    <message>
        <source>Response time</source>
        <translation>回應時間</translation>
    </message>
    <message>
        <source>How long a device may take before its reply begins; the reply&apos;s own time on the line is added. For every port.</source>
        <translation>裝置開始回覆前可用的時間；回覆本身在線路上的傳輸時間另行加上。適用於所有連接埠。</translation>
    </message>
    <message>
        <source>RS-485 direction control (RTS on while sending)</source>
        <translation>RS-485 方向控制（傳送時 RTS 有效）</translation>
    </message>
    <message>
        <source>Delay before send</source>
        <translation>傳送前延遲</translation>
    </message>
    <message>
        <source>Delay after send</source>
        <translation>傳送後延遲</translation>
    </message>
    <message>
        <source>Only for %1, and only where its driver offers the kernel&apos;s RS-485 mode.</source>
        <translation>僅用於 %1，且僅在其驅動程式提供核心 RS-485 模式時有效。</translation>
    </message>
    <message>
        <source>The line settings could not be stored: the settings folder cannot be written by this user.</source>
        <translation>無法儲存線路設定：此使用者無法寫入設定資料夾。</translation>
    </message>
</context>
<context>
    <name>corvane::comm::CIPListDlg</name>
    <message>
        <source>IP Setup</source>
        <translation>IP 設定</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>新增</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>刪除</translation>
    </message>
    <message>
        <source>Broadcast IP</source>
        <translation>廣播 IP</translation>
    </message>
    <message>
        <source>IP List</source>
        <translation>IP 清單</translation>
    </message>
</context>
</TS>
