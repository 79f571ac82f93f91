<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>Commands</name>
    <message>
        <source>開く(&amp;O)</source>
        <translation>&amp;Open</translation>
    </message>
    <message>
        <source>既存のファイルを開きます
開く</source>
        <translation>Opens an existing file
Open</translation>
    </message>
    <message>
        <source>上書き保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>作業中のファイルを上書きして保存します
上書き保存</source>
        <translation>Saves the file you are working on, replacing it
Save</translation>
    </message>
    <message>
        <source>通常のイメージとして保存(&amp;N)</source>
        <translation>Save as &amp;Normal Image</translation>
    </message>
    <message>
        <source>編集中のイメージを名前を付けて透過のないイメージとして保存します
通常のイメージとして保存</source>
        <translation>Saves the image under a new name as an image without transparency
Save as normal image</translation>
    </message>
    <message>
        <source>JPEGファイル(&amp;J)</source>
        <translation>&amp;JPEG File</translation>
    </message>
    <message>
        <source>サイズが小さくWebでの使用に最適です
JPEGファイルとして保存</source>
        <translation>Small files, ideal for the web
Save as JPEG file</translation>
    </message>
    <message>
        <source>通常のイメージとして保存</source>
        <translation>Save as Normal Image</translation>
    </message>
    <message>
        <source>BMPファイル(&amp;B)</source>
        <translation>&amp;BMP File</translation>
    </message>
    <message>
        <source>高画質ですがサイズが大きくなります
BMPファイルとして保存</source>
        <translation>High quality, but the files are large
Save as BMP file</translation>
    </message>
    <message>
        <source>GIFファイル(&amp;G)</source>
        <translation>&amp;GIF File</translation>
    </message>
    <message>
        <source>図など色数の少ない場合に適しています
GIFファイルとして保存</source>
        <translation>Suited to drawings and other pictures with few colours
Save as GIF file</translation>
    </message>
    <message>
        <source>PNGファイル(&amp;P)</source>
        <translation>&amp;PNG File</translation>
    </message>
    <message>
        <source>画質が劣化せずWeb使用に適しています
PNGファイルとして保存</source>
        <translation>No loss of quality; suited to the web
Save as PNG file</translation>
    </message>
    <message>
        <source>TIFFファイル(&amp;T)</source>
        <translation>&amp;TIFF File</translation>
    </message>
    <message>
        <source>画質が劣化せずWeb使用に適しています
TIFFファイルとして保存</source>
        <translation>No loss of quality; suited to the web
Save as TIFF file</translation>
    </message>
    <message>
        <source>透過イメージとして保存(&amp;T)</source>
        <translation>Save as &amp;Transparent Image</translation>
    </message>
    <message>
        <source>編集中のイメージを名前を付けて透過イメージとして保存します
透過イメージとして保存</source>
        <translation>Saves the image under a new name as a transparent image
Save as transparent image</translation>
    </message>
    <message>
        <source>透過BMPファイル(&amp;B)</source>
        <translation>Transparent &amp;BMP File</translation>
    </message>
    <message>
        <source>透過のあるBMPファイルを作成します
透過BMPファイル</source>
        <translation>Creates a BMP file with transparency
Transparent BMP file</translation>
    </message>
    <message>
        <source>透過イメージとして保存</source>
        <translation>Save as Transparent Image</translation>
    </message>
    <message>
        <source>透過GIFファイル(&amp;G)</source>
        <translation>Transparent &amp;GIF File</translation>
    </message>
    <message>
        <source>透過のあるGIFファイルを作成します
透過GIFファイル</source>
        <translation>Creates a GIF file with transparency
Transparent GIF file</translation>
    </message>
    <message>
        <source>透過PNGファイル(&amp;P)</source>
        <translation>Transparent &amp;PNG File</translation>
    </message>
    <message>
        <source>透過のあるPNGファイルを作成します
透過PNGファイル</source>
        <translation>Creates a PNG file with transparency
Transparent PNG file</translation>
    </message>
    <message>
        <source>透過TIFFファイル(&amp;T)</source>
        <translation>Transparent &amp;TIFF File</translation>
    </message>
    <message>
        <source>透過のあるTIFFファイルを作成します
透過TIFFファイル</source>
        <translation>Creates a TIFF file with transparency
Transparent TIFF file</translation>
    </message>
    <message>
        <source>印刷(&amp;P)</source>
        <translation>&amp;Print</translation>
    </message>
    <message>
        <source>現在表示されているイメージを印刷します
印刷</source>
        <translation>Prints the image currently shown
Print</translation>
    </message>
    <message>
        <source>設定(&amp;M)</source>
        <translation>S&amp;ettings</translation>
    </message>
    <message>
        <source>各種設定をします
設定</source>
        <translation>Changes various settings
Settings</translation>
    </message>
    <message>
        <source>最近使ったファイルの管理(&amp;R)</source>
        <translation>Manage &amp;Recent Files</translation>
    </message>
    <message>
        <source>最近使ったファイルの管理をします
最近使ったファイルの管理</source>
        <translation>Manages the list of recently used files
Manage recent files</translation>
    </message>
    <message>
        <source>設定</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>環境設定(&amp;K)</source>
        <translation>&amp;Preferences</translation>
    </message>
    <message>
        <source>システム環境の設定をします
環境設定</source>
        <translation>Changes the system preferences
Preferences</translation>
    </message>
    <message>
        <source>バージョン情報(&amp;A)</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source>このソフトのバージョンおよび著作権を表示します
バージョン情報</source>
        <translation>Shows the version and copyright of this software
About</translation>
    </message>
    <message>
        <source>終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>アプリケーションを終了し、ファイルの保存を指示
終了</source>
        <translation>Closes the application, asking whether to save the file
Exit</translation>
    </message>
    <message>
        <source>新規にファイルを作成
新規ファイル</source>
        <translation>Creates a new file
New file</translation>
    </message>
    <message>
        <source>操作した結果を一つ前に戻します
アンドゥ (Ctrl+Z)</source>
        <translation>Undoes the last operation
Undo (Ctrl+Z)</translation>
    </message>
    <message>
        <source>一つ前に戻した操作をやり直します
リドゥ (Ctrl+Y)</source>
        <translation>Redoes the last undone operation
Redo (Ctrl+Y)</translation>
    </message>
    <message>
        <source>ナビの表示と非表示を切り替えます
ナビの表示/非表示 (F8)</source>
        <translation>Shows or hides the navigator
Show/hide navigator (F8)</translation>
    </message>
    <message>
        <source>表示倍率を等倍にします
100%</source>
        <translation>Sets the zoom to 100% (actual size)
100%</translation>
    </message>
    <message>
        <source>表示倍率を0.5倍にします
50%</source>
        <translation>Sets the zoom to 50%
50%</translation>
    </message>
    <message>
        <source>表示倍率を2倍にします
200%</source>
        <translation>Sets the zoom to 200%
200%</translation>
    </message>
    <message>
        <source>表示倍率を4倍にします
400%</source>
        <translation>Sets the zoom to 400%
400%</translation>
    </message>
    <message>
        <source>表示倍率を8倍にします
800%</source>
        <translation>Sets the zoom to 800%
800%</translation>
    </message>
    <message>
        <source>メニューの表示と非表示を切替えます
メニュー表示/非表示 (F11)</source>
        <translation>Shows or hides the ribbon
Show/hide ribbon (F11)</translation>
    </message>
    <message>
        <source>ウィンドウスタイルを変更します
ウィンドウスタイル</source>
        <translation>Changes the window style
Window style</translation>
    </message>
    <message>
        <source>Office 2007 (ブルー スタイル)(&amp;B)</source>
        <translation>Office 2007 (&amp;Blue Style)</translation>
    </message>
    <message>
        <source>Office 2007 (ブラック スタイル)(&amp;L)</source>
        <translation>Office 2007 (B&amp;lack Style)</translation>
    </message>
    <message>
        <source>Office 2007 (シルバー スタイル)(&amp;S)</source>
        <translation>Office 2007 (&amp;Silver Style)</translation>
    </message>
    <message>
        <source>Office 2007 (アクア スタイル)(&amp;A)</source>
        <translation>Office 2007 (&amp;Aqua Style)</translation>
    </message>
    <message>
        <source>取扱い説明書を表示します
ヘルプ (F1)</source>
        <translation>Shows the manual
Help (F1)</translation>
    </message>
    <message>
        <source>倍率</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <source>スライドさせて表示倍率を変更します
倍率変更</source>
        <translation>Slide to change the zoom
Change zoom</translation>
    </message>
    <message>
        <source>透過色</source>
        <translation>Transparent Colour</translation>
    </message>
    <message>
        <source>イメージ中のどの色を透過色とするかを指定します
透過色</source>
        <translation>Chooses which colour of the image is the transparent colour
Transparent colour</translation>
    </message>
    <message>
        <source>色</source>
        <translation>Colours</translation>
    </message>
    <message>
        <source>透過後 の背景</source>
        <translation>Background</translation>
    </message>
    <message>
        <source>透過色になった部分が分かりやすいように置き換えて表示する色を設定します
透過後の背景</source>
        <translation>Sets the colour shown in place of the transparent parts, so that they are easy to see
Background</translation>
    </message>
    <message>
        <source>背景なし(&amp;N)</source>
        <translation>&amp;No Background</translation>
    </message>
    <message>
        <source>透過色になった部分を実際に透過させます
背景なし</source>
        <translation>Makes the transparent parts actually see-through
No background</translation>
    </message>
    <message>
        <source>背景色・背景イメージ</source>
        <translation>Background Colour or Picture</translation>
    </message>
    <message>
        <source>チェッカーボード(&amp;C)</source>
        <translation>&amp;Checkerboard</translation>
    </message>
    <message>
        <source>透過後の背景をチェッカーボードにします
チェッカーボード</source>
        <translation>Shows a checkerboard behind the transparent parts
Checkerboard</translation>
    </message>
    <message>
        <source>システムアイコン(&amp;S)</source>
        <translation>&amp;System Icon</translation>
    </message>
    <message>
        <source>透過後の背景をシステムアイコンにします
システムアイコン</source>
        <translation>Shows the system icon behind the transparent parts
System icon</translation>
    </message>
    <message>
        <source>自由設定イメージ(&amp;F)</source>
        <translation>Custom &amp;Picture</translation>
    </message>
    <message>
        <source>透過後の背景として任意のイメージを設定します
自由設定イメージ</source>
        <translation>Shows a picture of your choice behind the transparent parts
Custom picture</translation>
    </message>
    <message>
        <source>自由設定イメージ変更(&amp;M)</source>
        <translation>Change Custo&amp;m Picture</translation>
    </message>
    <message>
        <source>自由設定イメージを変更します
自由設定イメージ変更</source>
        <translation>Changes the custom picture
Change custom picture</translation>
    </message>
    <message>
        <source>範囲 選択</source>
        <translation>Select Area</translation>
    </message>
    <message>
        <source>ドラッグ＆ドロップで範囲を選択してコピーなどの処理をします
範囲選択</source>
        <translation>Drag to select an area, then copy it or work on it in other ways
Select area</translation>
    </message>
    <message>
        <source>処理モード</source>
        <translation>Tools</translation>
    </message>
    <message>
        <source>選択部分を中央へ</source>
        <translation>Centre Selection</translation>
    </message>
    <message>
        <source>選択されている部分があればビューの中央に表示します
選択部分を中央へ</source>
        <translation>Shows the selected part, if there is one, in the middle of the view
Centre selection</translation>
    </message>
    <message>
        <source>選択外周線色の変更</source>
        <translation>Selection Outline Colour</translation>
    </message>
    <message>
        <source>選択されている部分を囲む線の色を変更します
選択外周線色の変更</source>
        <translation>Changes the colour of the line around the selection
Selection outline colour</translation>
    </message>
    <message>
        <source>ペン</source>
        <translation>Pen</translation>
    </message>
    <message>
        <source>描画する通常のペンのほか、透過や埋め戻しペンがあります
ペン</source>
        <translation>Besides the ordinary drawing pen, there are the transparent pen and the fill-back pen
Pen</translation>
    </message>
    <message>
        <source>流し 込み</source>
        <translation>Flood Fill</translation>
    </message>
    <message>
        <source>クリックした位置の色と同一の色を異なる色を見つけるまで流し込みます
流し込み</source>
        <translation>Fills the area of the clicked colour until a different colour is reached
Flood fill</translation>
    </message>
    <message>
        <source>透過色と同じにする</source>
        <translation>Use Transparent Colour</translation>
    </message>
    <message>
        <source>描画色を透過色にします
透過色</source>
        <translation>Makes the drawing colour the transparent colour
Transparent colour</translation>
    </message>
    <message>
        <source>スポ イト</source>
        <translation>Eyedropper</translation>
    </message>
    <message>
        <source>クリックした位置の色を実色ペンや流し込みで使用する色に設定します
スポイト</source>
        <translation>Takes the colour at the clicked point as the colour of the colour pen and flood fill
Eyedropper</translation>
    </message>
    <message>
        <source>バリア</source>
        <translation>Barrier</translation>
    </message>
    <message>
        <source>透過する（しない）範囲をバリアで囲み一括で透過処理します
バリア</source>
        <translation>Encloses an area with a barrier and makes its inside or outside transparent in one step
Barrier</translation>
    </message>
    <message>
        <source>回転 効果</source>
        <translation>Transform</translation>
    </message>
    <message>
        <source>選択範囲（ないときは全体）を回転させたり色を反転させたりします
回転・効果</source>
        <translation>Rotates the selection (or the whole image when there is none) or inverts its colours
Rotate and effects</translation>
    </message>
    <message>
        <source>表示</source>
        <translation>View</translation>
    </message>
    <message>
        <source>左右逆転(&amp;H)</source>
        <translation>Flip &amp;Horizontal</translation>
    </message>
    <message>
        <source>イメージの左右を逆転させます
左右逆転</source>
        <translation>Flips the image left to right
Flip horizontal</translation>
    </message>
    <message>
        <source>逆転</source>
        <translation>Flip</translation>
    </message>
    <message>
        <source>上下逆転(&amp;V)</source>
        <translation>Flip &amp;Vertical</translation>
    </message>
    <message>
        <source>イメージの上下を逆転させます
上下逆転</source>
        <translation>Flips the image upside down
Flip vertical</translation>
    </message>
    <message>
        <source>右へ90度(&amp;R)</source>
        <translation>&amp;Right 90°</translation>
    </message>
    <message>
        <source>イメージを右へ90度回転させます
右へ90度</source>
        <translation>Rotates the image 90° clockwise
Right 90°</translation>
    </message>
    <message>
        <source>回転</source>
        <translation>Rotate</translation>
    </message>
    <message>
        <source>180度(&amp;U)</source>
        <translation>&amp;180°</translation>
    </message>
    <message>
        <source>イメージを180度回転させます
180度</source>
        <translation>Rotates the image 180°
180°</translation>
    </message>
    <message>
        <source>左へ90度(&amp;L)</source>
        <translation>&amp;Left 90°</translation>
    </message>
    <message>
        <source>イメージを左へ90度回転させます
左へ90度</source>
        <translation>Rotates the image 90° anticlockwise
Left 90°</translation>
    </message>
    <message>
        <source>任意角度(&amp;F)</source>
        <translation>&amp;Any Angle</translation>
    </message>
    <message>
        <source>イメージを指定した角度で回転させます
任意角度</source>
        <translation>Rotates the image by an angle you enter
Any angle</translation>
    </message>
    <message>
        <source>サイズ50%(&amp;H)</source>
        <translation>Size &amp;50%</translation>
    </message>
    <message>
        <source>イメージの大きさを現在の大きさの50%にします
50%</source>
        <translation>Makes the image 50% of its current size
50%</translation>
    </message>
    <message>
        <source>サイズ変更</source>
        <translation>Resize</translation>
    </message>
    <message>
        <source>サイズ75%(&amp;Q)</source>
        <translation>Size &amp;75%</translation>
    </message>
    <message>
        <source>イメージの大きさを現在の大きさの75%にします
75%</source>
        <translation>Makes the image 75% of its current size
75%</translation>
    </message>
    <message>
        <source>任意サイズ(&amp;S)</source>
        <translation>Any &amp;Size</translation>
    </message>
    <message>
        <source>イメージの大きさを指定したサイズにします
任意サイズ</source>
        <translation>Resizes the image to a size you enter
Any size</translation>
    </message>
    <message>
        <source>色反転(&amp;I)</source>
        <translation>&amp;Invert Colours</translation>
    </message>
    <message>
        <source>イメージの色を反転させます
色反転</source>
        <translation>Inverts the colours of the image
Invert colours</translation>
    </message>
    <message>
        <source>効果</source>
        <translation>Effects</translation>
    </message>
    <message>
        <source>グレースケール(&amp;G)</source>
        <translation>&amp;Greyscale</translation>
    </message>
    <message>
        <source>イメージをグレースケールにします
グレースケール</source>
        <translation>Turns the image into greyscale
Greyscale</translation>
    </message>
    <message>
        <source>ナビ</source>
        <translation>Navigator</translation>
    </message>
    <message>
        <source>ナビを左上に表示</source>
        <translation>Navigator to Top Left</translation>
    </message>
    <message>
        <source>ナビを画面の左上に表示します
ナビを左上に表示</source>
        <translation>Shows the navigator at the top left of the screen
Navigator to top left</translation>
    </message>
    <message>
        <source>透過 テスト</source>
        <translation>Transparency Test</translation>
    </message>
    <message>
        <source>全範囲</source>
        <translation>Whole Image</translation>
    </message>
    <message>
        <source>イメージ内のすべての範囲を処理対象にします
全範囲</source>
        <translation>Works on the whole image
Whole image</translation>
    </message>
    <message>
        <source>処理範囲</source>
        <translation>Range</translation>
    </message>
    <message>
        <source>指定範囲内</source>
        <translation>Around Pointer</translation>
    </message>
    <message>
        <source>マウスカーソルの位置を中心に右に設定するサイズ内を処理対象にします
指定範囲内</source>
        <translation>Works within the size set on the right, centred on the mouse pointer
Around pointer</translation>
    </message>
    <message>
        <source>サイズ:</source>
        <translation>Size:</translation>
    </message>
    <message>
        <source>範囲矩形のサイズを変更します
サイズ(マウス右ボタン+マウスカーソル移動)</source>
        <translation>Changes the size of the range rectangle
Size (right mouse button + move the pointer)</translation>
    </message>
    <message>
        <source>扁平率:</source>
        <translation>Flatness:</translation>
    </message>
    <message>
        <source>範囲矩形の扁平率を変更します
扁平率(マウス右ボタン+マウスカーソル移動)</source>
        <translation>Changes the flatness of the range rectangle
Flatness (right mouse button + move the pointer)</translation>
    </message>
    <message>
        <source>扁平方向:水平</source>
        <translation>Flatten: Width</translation>
    </message>
    <message>
        <source>範囲矩形の扁平方向を変更します
扁平方向(F4, Ctrl+マウス右ボタン)</source>
        <translation>Changes the flattening direction of the range rectangle
Flattening direction (F4, Ctrl+right mouse button)</translation>
    </message>
    <message>
        <source>すべての色</source>
        <translation>All Colours</translation>
    </message>
    <message>
        <source>処理範囲内のすべての色を処理対象にします
すべての色</source>
        <translation>Works on every colour within the range
All colours</translation>
    </message>
    <message>
        <source>対象色</source>
        <translation>Target Colours</translation>
    </message>
    <message>
        <source>近似範囲&#x3000;小-----大</source>
        <translation>Tolerance  Low---High</translation>
    </message>
    <message>
        <source>処理範囲内のマウスでクリックした位置の色と近い色を処理対象にします
近似範囲</source>
        <translation>Works on the colours within the range that are close to the colour at the clicked point
Tolerance</translation>
    </message>
    <message>
        <source>スライドさせて近似範囲を変更します
近似範囲変更</source>
        <translation>Slide to change the tolerance
Change tolerance</translation>
    </message>
    <message>
        <source>透過 ペン</source>
        <translation>Transparent Pen</translation>
    </message>
    <message>
        <source>処理範囲内の対象色を透過色にします
透過ペン</source>
        <translation>Turns the target colours within the range into the transparent colour
Transparent pen</translation>
    </message>
    <message>
        <source>実色 ペン</source>
        <translation>Colour Pen</translation>
    </message>
    <message>
        <source>処理範囲内の対象色を指定した色にします
実色ペン</source>
        <translation>Turns the target colours within the range into the chosen colour
Colour pen</translation>
    </message>
    <message>
        <source>埋め 戻し</source>
        <translation>Fill Back</translation>
    </message>
    <message>
        <source>処理範囲内の透過色を隣接する色に埋め戻します
埋め戻し</source>
        <translation>Fills transparent pixels within the range back with the neighbouring colours
Fill back</translation>
    </message>
    <message>
        <source>ペン 形状</source>
        <translation>Pen Shape</translation>
    </message>
    <message>
        <source>処理範囲を四角形・円形・三角形に変更します
ペン形状</source>
        <translation>Makes the range a rectangle, an ellipse or a triangle
Pen shape</translation>
    </message>
    <message>
        <source>読込み</source>
        <translation>Load</translation>
    </message>
    <message>
        <source>保存したバリアファイルを読込みます
読込み</source>
        <translation>Loads a saved barrier file
Load</translation>
    </message>
    <message>
        <source>ファイル</source>
        <translation>File</translation>
    </message>
    <message>
        <source>履歴1</source>
        <translation>Recent 1</translation>
    </message>
    <message>
        <source>最近使ったバリア</source>
        <translation>Recent Barriers</translation>
    </message>
    <message>
        <source>履歴2</source>
        <translation>Recent 2</translation>
    </message>
    <message>
        <source>履歴3</source>
        <translation>Recent 3</translation>
    </message>
    <message>
        <source>履歴4</source>
        <translation>Recent 4</translation>
    </message>
    <message>
        <source>履歴5</source>
        <translation>Recent 5</translation>
    </message>
    <message>
        <source>最近使ったバリアをクリア(&amp;C)</source>
        <translation>&amp;Clear Recent Barriers</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>名前を付けてバリアの位置を保存します
保存</source>
        <translation>Saves the barrier&apos;s vertices to a file you name
Save</translation>
    </message>
    <message>
        <source>折点</source>
        <translation>Vertices</translation>
    </message>
    <message>
        <source>バリア折点の表示と非表示を切り替えます
折点表示</source>
        <translation>Shows or hides the barrier&apos;s vertices
Show vertices</translation>
    </message>
    <message>
        <source>№</source>
        <translation>Numbers</translation>
    </message>
    <message>
        <source>バリア折点№の表示と非表示を切り替えます
折点№表示</source>
        <translation>Shows or hides the barrier&apos;s vertex numbers
Show vertex numbers</translation>
    </message>
    <message>
        <source>バリア の色</source>
        <translation>Barrier Colours</translation>
    </message>
    <message>
        <source>バリア各部の色を変更します
各部の色</source>
        <translation>Changes the colours of the parts of the barrier
Barrier colours</translation>
    </message>
    <message>
        <source>線色</source>
        <translation>Line Colour</translation>
    </message>
    <message>
        <source>バリアの線の色を変更します
バリア線色の変更</source>
        <translation>Changes the colour of the barrier&apos;s line
Barrier line colour</translation>
    </message>
    <message>
        <source>通常色</source>
        <translation>Normal Colours</translation>
    </message>
    <message>
        <source>折点色</source>
        <translation>Vertex Colour</translation>
    </message>
    <message>
        <source>バリア折点の色を変更します
バリア折点色の変更</source>
        <translation>Changes the colour of the barrier&apos;s vertices
Barrier vertex colour</translation>
    </message>
    <message>
        <source>折点№色</source>
        <translation>Number Colour</translation>
    </message>
    <message>
        <source>バリア折点の№の色を変更します
バリア折点№色の変更</source>
        <translation>Changes the colour of the barrier&apos;s vertex numbers
Barrier vertex number colour</translation>
    </message>
    <message>
        <source>選択時の線色</source>
        <translation>Selected Line Colour</translation>
    </message>
    <message>
        <source>選択時のバリアの線の色を変更します
選択時のバリア線色の変更</source>
        <translation>Changes the colour of the barrier&apos;s line while it is selected
Selected barrier line colour</translation>
    </message>
    <message>
        <source>選択色</source>
        <translation>Selected Colours</translation>
    </message>
    <message>
        <source>選択時の折点色</source>
        <translation>Selected Vertex Colour</translation>
    </message>
    <message>
        <source>選択時のバリア折点の色を変更します
選択時のバリア折点色の変更</source>
        <translation>Changes the colour of the barrier&apos;s vertices while they are selected
Selected barrier vertex colour</translation>
    </message>
    <message>
        <source>選択時の折点№色</source>
        <translation>Selected Number Colour</translation>
    </message>
    <message>
        <source>選択時のバリア折点の№の色を変更します
選択時のバリア折点№色の変更</source>
        <translation>Changes the colour of the barrier&apos;s vertex numbers while they are selected
Selected barrier vertex number colour</translation>
    </message>
    <message>
        <source>整列</source>
        <translation>Align</translation>
    </message>
    <message>
        <source>バリアの選択折点を主選択折点に合せて整列させます
整列</source>
        <translation>Lines up the barrier&apos;s selected vertices with the main selected vertex
Align</translation>
    </message>
    <message>
        <source>水平揃え(&amp;H)</source>
        <translation>Align &amp;Horizontally</translation>
    </message>
    <message>
        <source>主選択の水平位置に他の選択折点を揃えます
【水平揃え】</source>
        <translation>Gives the other selected vertices the horizontal position of the main selected vertex
[Align horizontally]</translation>
    </message>
    <message>
        <source>位置揃え</source>
        <translation>Align to Main Vertex</translation>
    </message>
    <message>
        <source>垂直揃え(&amp;V)</source>
        <translation>Align &amp;Vertically</translation>
    </message>
    <message>
        <source>主選択の垂直位置に他の選択折点を揃えます
【垂直揃え】</source>
        <translation>Gives the other selected vertices the vertical position of the main selected vertex
[Align vertically]</translation>
    </message>
    <message>
        <source>水平均等揃え(&amp;S)</source>
        <translation>&amp;Space Horizontally</translation>
    </message>
    <message>
        <source>水平位置を均等に揃えます
【水平均等揃え】</source>
        <translation>Spaces the horizontal positions evenly
[Space horizontally]</translation>
    </message>
    <message>
        <source>均等揃え</source>
        <translation>Space Evenly</translation>
    </message>
    <message>
        <source>垂直均等揃え(&amp;T)</source>
        <translation>Space Ver&amp;tically</translation>
    </message>
    <message>
        <source>垂直位置を均等に揃えます
【垂直均等揃え】</source>
        <translation>Spaces the vertical positions evenly
[Space vertically]</translation>
    </message>
    <message>
        <source>折点 追加</source>
        <translation>Add Vertices</translation>
    </message>
    <message>
        <source>バリア折点を手動で追加します
折点追加</source>
        <translation>Adds barrier vertices by hand
Add vertices</translation>
    </message>
    <message>
        <source>作成</source>
        <translation>Create</translation>
    </message>
    <message>
        <source>折点右回り追加(&amp;R)</source>
        <translation>Close &amp;Clockwise</translation>
    </message>
    <message>
        <source>最後の折点を最初の折点と結ぶときに、右回りとして処理します
折点右回り追加</source>
        <translation>Goes round clockwise when the last vertex is joined to the first
Close clockwise</translation>
    </message>
    <message>
        <source>折点左回り追加(&amp;L)</source>
        <translation>Close &amp;Anticlockwise</translation>
    </message>
    <message>
        <source>最後の折点を最初の折点と結ぶときに、左回りとして処理します
折点左回り追加</source>
        <translation>Goes round anticlockwise when the last vertex is joined to the first
Close anticlockwise</translation>
    </message>
    <message>
        <source>60秒</source>
        <translation>60 sec</translation>
    </message>
    <message>
        <source>折点セット処理の残り時間を表示します
タイマー</source>
        <translation>Shows the time left for placing vertices
Timer</translation>
    </message>
    <message>
        <source>内側 透過</source>
        <translation>Transparent Inside</translation>
    </message>
    <message>
        <source>バリアの中の色をすべて透過色にします
内側透過</source>
        <translation>Turns every colour inside the barrier into the transparent colour
Transparent inside</translation>
    </message>
    <message>
        <source>透過処理</source>
        <translation>Transparency</translation>
    </message>
    <message>
        <source>外側 透過</source>
        <translation>Transparent Outside</translation>
    </message>
    <message>
        <source>バリアの外の色をすべて透過色にします。※ 透過色にならない部分が残るときは、ビューの右クリックメニュー「バリアの外を透過色にする」で処理してください
外側透過</source>
        <translation>Turns every colour outside the barrier into the transparent colour. Note: if some parts do not become transparent, use &quot;Make Outside Transparent&quot; on the canvas&apos;s right-click menu
Transparent outside</translation>
    </message>
    <message>
        <source>範囲選択モードに切り替えます。&#x3000;&#x3000;範囲を指定してバリアにしたいときに使用します
範囲選択</source>
        <translation>Switches to selection mode. Use it when you want to make an area into a barrier
Select area</translation>
    </message>
    <message>
        <source>切替え</source>
        <translation>Switch</translation>
    </message>
    <message>
        <source>ガイド</source>
        <translation>Guide</translation>
    </message>
    <message>
        <source>カーソル停止</source>
        <translation>Cursor Stop</translation>
    </message>
    <message>
        <source>ここを超ズーム(&amp;Z)	WClick</source>
        <translation>&amp;Zoom In Here	Double-click</translation>
    </message>
    <message>
        <source>倍率100%(&amp;T)	WClick</source>
        <translation>Zoom &amp;to 100%	Double-click</translation>
    </message>
    <message>
        <source>現在のナビの幅基準(&amp;W)</source>
        <translation>Keep Current &amp;Width</translation>
    </message>
    <message>
        <source>NAVI/ナビをイメージの縦横比に合せる(&amp;M)</source>
        <translation>NAVI/&amp;Match Image Aspect Ratio</translation>
    </message>
    <message>
        <source>現在のナビの高さ基準(&amp;H)</source>
        <translation>Keep Current &amp;Height</translation>
    </message>
    <message>
        <source>ナビを左上に表示(&amp;D)</source>
        <translation>Navigator to Top &amp;Left</translation>
    </message>
    <message>
        <source>ナビを非表示にする(&amp;H)</source>
        <translation>&amp;Hide Navigator</translation>
    </message>
    <message>
        <source>ここを超ズーム(&amp;Z)</source>
        <translation>&amp;Zoom In Here</translation>
    </message>
    <message>
        <source>倍率100%(&amp;T)</source>
        <translation>Zoom &amp;to 100%</translation>
    </message>
    <message>
        <source>貼り付け(&amp;P)	Ctrl+V</source>
        <translation>&amp;Paste	Ctrl+V</translation>
    </message>
    <message>
        <source>すべて選択(&amp;A)	Ctrl+A</source>
        <translation>Select &amp;All	Ctrl+A</translation>
    </message>
    <message>
        <source>コピー(&amp;C)	WClick, Ctrl+C</source>
        <translation>&amp;Copy	Double-click, Ctrl+C</translation>
    </message>
    <message>
        <source>切り取り(&amp;X)	Ctrl+X</source>
        <translation>Cu&amp;t	Ctrl+X</translation>
    </message>
    <message>
        <source>選択クリア(&amp;D)	Delete</source>
        <translation>&amp;Deselect	Delete</translation>
    </message>
    <message>
        <source>トリミング(&amp;T)</source>
        <translation>Cr&amp;op</translation>
    </message>
    <message>
        <source>この範囲を透過色にする(&amp;S)</source>
        <translation>Make This Area Tran&amp;sparent</translation>
    </message>
    <message>
        <source>この範囲をバリアにする(&amp;B)</source>
        <translation>Make This Area a &amp;Barrier</translation>
    </message>
    <message>
        <source>最初の大きさに戻す(&amp;F)</source>
        <translation>Restore &amp;Original Size</translation>
    </message>
    <message>
        <source>PASTE/逆転(&amp;A)</source>
        <translation>PASTE/&amp;Flip</translation>
    </message>
    <message>
        <source>PASTE/回転(&amp;R)</source>
        <translation>PASTE/&amp;Rotate</translation>
    </message>
    <message>
        <source>PASTE/サイズ変更(&amp;S)</source>
        <translation>PASTE/Re&amp;size</translation>
    </message>
    <message>
        <source>任意サイズ(&amp;F)</source>
        <translation>&amp;Any Size</translation>
    </message>
    <message>
        <source>色反転(&amp;R)</source>
        <translation>&amp;Invert Colours</translation>
    </message>
    <message>
        <source>PASTE/効果(&amp;E)</source>
        <translation>PASTE/&amp;Effects</translation>
    </message>
    <message>
        <source>バリアの中を透過色にする(&amp;I)</source>
        <translation>Make &amp;Inside Transparent</translation>
    </message>
    <message>
        <source>1ピクセル拡大(&amp;1)	Ctrl+Wheel</source>
        <translation>&amp;Grow by 1 Pixel	Ctrl+Wheel</translation>
    </message>
    <message>
        <source>10ピクセル拡大(&amp;2)	Wheel</source>
        <translation>Gro&amp;w by 10 Pixels	Wheel</translation>
    </message>
    <message>
        <source>1ピクセル縮小(&amp;3)	Ctrl+Wheel</source>
        <translation>S&amp;hrink by 1 Pixel	Ctrl+Wheel</translation>
    </message>
    <message>
        <source>10ピクセル縮小(&amp;4)	Wheel</source>
        <translation>Shrin&amp;k by 10 Pixels	Wheel</translation>
    </message>
    <message>
        <source>2倍(&amp;2)</source>
        <translation>×&amp;2</translation>
    </message>
    <message>
        <source>BARIIN/折点を増やす(&amp;P)</source>
        <translation>BARIIN/More &amp;Vertices</translation>
    </message>
    <message>
        <source>3倍(&amp;3)</source>
        <translation>×&amp;3</translation>
    </message>
    <message>
        <source>5倍(&amp;5)</source>
        <translation>×&amp;5</translation>
    </message>
    <message>
        <source>2分の1(&amp;2)</source>
        <translation>1/&amp;2</translation>
    </message>
    <message>
        <source>BARIIN/折点を減らす(&amp;M)</source>
        <translation>BARIIN/&amp;Fewer Vertices</translation>
    </message>
    <message>
        <source>3分の1(&amp;3)</source>
        <translation>1/&amp;3</translation>
    </message>
    <message>
        <source>5分の1(&amp;5)</source>
        <translation>1/&amp;5</translation>
    </message>
    <message>
        <source>折点を外接矩形上に配置(&amp;G)</source>
        <translation>On Bounding &amp;Rectangle</translation>
    </message>
    <message>
        <source>BARIIN/折点配置(&amp;R)</source>
        <translation>BARIIN/A&amp;rrange Vertices</translation>
    </message>
    <message>
        <source>折点を内接円上に配置(&amp;R)</source>
        <translation>On Inscribed &amp;Ellipse</translation>
    </message>
    <message>
        <source>バリアを名前を付けて保存(&amp;S)</source>
        <translation>&amp;Save Barrier As</translation>
    </message>
    <message>
        <source>消去(&amp;C)</source>
        <translation>&amp;Clear Barrier</translation>
    </message>
    <message>
        <source>削除(&amp;D)</source>
        <translation>&amp;Delete</translation>
    </message>
    <message>
        <source>折点1個追加</source>
        <translation>Add 1 Vertex</translation>
    </message>
    <message>
        <source>折点2個追加</source>
        <translation>Add 2 Vertices</translation>
    </message>
    <message>
        <source>折点3個追加</source>
        <translation>Add 3 Vertices</translation>
    </message>
    <message>
        <source>バリアの外を透過色にする(&amp;O)</source>
        <translation>Make &amp;Outside Transparent</translation>
    </message>
    <message>
        <source>バリア読込み(&amp;L)</source>
        <translation>&amp;Load Barrier</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>メモリの確保に失敗しました</source>
        <translation>Could not allocate memory.</translation>
    </message>
    <message>
        <source>作業フォルダの取得に失敗しました</source>
        <translation>Could not get the work folder.</translation>
    </message>
    <message>
        <source>「全範囲」「すべての色」を対象とした処理はできません</source>
        <translation>The pen cannot work with both &quot;Whole Image&quot; and &quot;All Colours&quot; chosen.</translation>
    </message>
    <message>
        <source>バックアップファイルの作成に失敗しました</source>
        <translation>Could not create the backup file.</translation>
    </message>
    <message>
        <source>イメージの反転に失敗しました</source>
        <translation>Could not flip the image.</translation>
    </message>
    <message>
        <source>イメージの回転に失敗しました</source>
        <translation>Could not rotate the image.</translation>
    </message>
    <message>
        <source>３個より少なくなるときは削除できません
『消去』で処理してください</source>
        <translation>Vertices cannot be deleted when fewer than three would remain.
Use &quot;Clear Barrier&quot; instead.</translation>
    </message>
    <message>
        <source>選択されているすべての折点が削除されます
処理を継続してもよろしいですか</source>
        <translation>All selected vertices will be deleted.
Do you want to continue?</translation>
    </message>
    <message>
        <source>これ以上追加できません</source>
        <translation>No more vertices can be added.</translation>
    </message>
    <message>
        <source>ビットマップファイルの保存に失敗しました</source>
        <translation>Could not save the bitmap file.</translation>
    </message>
    <message>
        <source>ビットマップファイルの情報取得に失敗しました</source>
        <translation>Could not read the information of the bitmap file.</translation>
    </message>
    <message>
        <source>現在のイメージには256色以上が使用されています
このまま保存すると透過色に近い色も透過されるおそれがあります
このまま保存処理を実行してもよろしいですか</source>
        <translation>The current image uses 256 or more colours.
If you save it as it is, colours close to the transparent colour may become transparent too.
Do you want to save it anyway?</translation>
    </message>
    <message>
        <source>サイズが、5,000pixelを超えないように再設定してください</source>
        <translation>Set the size again so that it does not exceed 5,000 pixels.</translation>
    </message>
    <message>
        <source>現在の描画色が透過色と同じになっています
描画色を透過色以外の色にしてください</source>
        <translation>The current drawing colour is the same as the transparent colour.
Choose a drawing colour other than the transparent colour.</translation>
    </message>
    <message>
        <source>このファイルタイプはセットできません</source>
        <translation>This type of file cannot be opened.</translation>
    </message>
    <message>
        <source>OLE の初期化に失敗しました。OLE ライブラリのバージョンが正しいことを確認してください。</source>
        <translation>Could not initialise OLE. Check that the OLE libraries are the right version.</translation>
    </message>
    <message>
        <source>背景イメージのセットに失敗しました</source>
        <translation>Could not set the background picture.</translation>
    </message>
    <message>
        <source>JPEGで保存すると透過部分が変わることがあります
このまま保存処理を実行してもよろしいですか</source>
        <translation>Saving as JPEG may change the transparent parts.
Do you want to save it anyway?</translation>
    </message>
    <message>
        <source>イメージの貼り付けに失敗しました</source>
        <translation>Could not paste the image.</translation>
    </message>
    <message>
        <source>ファイルが見つかりません
この履歴を削除しますか</source>
        <translation>The file cannot be found.
Do you want to remove it from the list?</translation>
    </message>
    <message>
        <source>書き込み場所にアクセス権がない可能性があります
管理者として実行するか、アクセス権のある場所に保存してください</source>
        <translation>You may not have permission to write to this location.
Run as administrator, or save to a location you have access to.</translation>
    </message>
    <message>
        <source>ファイルの展開に失敗しました</source>
        <translation>Could not decompress the file.</translation>
    </message>
    <message>
        <source>エクスプローラの起動に失敗しました</source>
        <translation>Could not start the file manager.</translation>
    </message>
    <message>
        <source>指定したファイルは既に存在します
上書きしてもよろしいですか</source>
        <translation>The file already exists.
Do you want to replace it?</translation>
    </message>
    <message>
        <source>プリンタＤＣの取得に失敗しました</source>
        <translation>Could not get the printer&apos;s device context.</translation>
    </message>
    <message>
        <source>正常に保存しました
保存場所を表示しますか</source>
        <translation>Saved successfully.
Do you want to open the folder it was saved in?</translation>
    </message>
    <message>
        <source>正常に保存しました</source>
        <translation>Saved successfully.</translation>
    </message>
    <message>
        <source>リボンメニューの初期化に失敗しました</source>
        <translation>Could not initialise the ribbon.</translation>
    </message>
    <message>
        <source>ファイルが見つかりません</source>
        <translation>The file cannot be found.</translation>
    </message>
    <message>
        <source>プリンタの初期化に失敗しました</source>
        <translation>Could not initialise the printer.</translation>
    </message>
    <message>
        <source>イメージのセットに失敗しました</source>
        <translation>The file could not be read as an image.</translation>
    </message>
    <message>
        <source>元に戻す（やり直す）ためのデータが壊れているか、見つかりません
この操作は実行できません</source>
        <translation>The data for undo (redo) is damaged or missing.
This operation cannot be carried out.</translation>
    </message>
    <message>
        <source>元に戻すためのデータを作業フォルダに保存できませんでした
処理を中止します</source>
        <translation>The undo data could not be saved in the work folder.
The operation is cancelled.</translation>
    </message>
    <message>
        <source>このファイルはバリアファイルとして読み込めません</source>
        <translation>This file cannot be read as a barrier file.</translation>
    </message>
    <message>
        <source>元に戻すためのデータを作業フォルダに保存できませんでした
メモリに保持できるのは最新の１手順分だけです</source>
        <translation>The undo data could not be saved in the work folder.
Only the latest step can be kept in memory.</translation>
    </message>
    <message>
        <source>バリアの内側に透過色にできる部分がありません</source>
        <translation>There is nothing inside the barrier that can be made transparent.</translation>
    </message>
    <message>
        <source>選択されたファイルの種類を判別できませんでした
保存は行われていません</source>
        <translation>The type of the chosen file could not be determined.
Nothing was saved.</translation>
    </message>
    <message>
        <source>実行ファイルと同じ場所にＰＤＦファイルがありません</source>
        <translation>There is no PDF manual in the program&apos;s folder.</translation>
    </message>
    <message>
        <source>Manual</source>
        <translation>Manual</translation>
    </message>
    <message>
        <source>Ver. 1.00 2012.06.18 新規作成</source>
        <translation>Ver. 1.00 2012.06.18 First release</translation>
    </message>
    <message>
        <source>Ver. 1.01 2012.11.21 PNG,TIFFの読込みを追加</source>
        <translation>Ver. 1.01 2012.11.21 Added opening of PNG and TIFF files</translation>
    </message>
    <message>
        <source>Ver. 1.02 2013.02.09 透過後の背景パターンを追加</source>
        <translation>Ver. 1.02 2013.02.09 Added background patterns behind transparent parts</translation>
    </message>
    <message>
        <source>Ver. 1.03 2013.04.17 透過状態表示用背景に自由設定を追加</source>
        <translation>Ver. 1.03 2013.04.17 Added a custom picture as the background for checking transparency</translation>
    </message>
    <message>
        <source>Ver. 1.04 2014.08.14 64bit版を追加</source>
        <translation>Ver. 1.04 2014.08.14 Added a 64-bit version</translation>
    </message>
    <message>
        <source>Ver. 1.05 2022.11.07 アニメポインターの速度調整機能追加</source>
        <translation>Ver. 1.05 2022.11.07 Added a speed setting for the animated pointer</translation>
    </message>
    <message>
        <source>方向キーにより10ピクセルずつの移動ができます。(Ctrlキー押しながらのときは、1ピクセル)</source>
        <translation>Use the arrow keys to move 10 pixels at a time (1 pixel while holding Ctrl)</translation>
    </message>
    <message>
        <source>選択四角形の辺をクリックすると『選択辺』となり太線で表示されます</source>
        <translation>Click a side of the selection rectangle to make it the &quot;selected side&quot;, drawn with a thick line</translation>
    </message>
    <message>
        <source>選択四角形をＷクリックするクリップボードにコピーされ、貼り付けモードになります</source>
        <translation>Double-click the selection rectangle to copy it to the clipboard and switch to paste mode</translation>
    </message>
    <message>
        <source>選択四角形以外の場所をクリックする貼り付けが実行されます</source>
        <translation>Click outside the selection rectangle to paste</translation>
    </message>
    <message>
        <source>クリックした「処理範囲」内の指定された「近似範囲」の色を描画色にします</source>
        <translation>Click to paint the colours within the &quot;Tolerance&quot; in the &quot;Range&quot; with the drawing colour</translation>
    </message>
    <message>
        <source>F3キーを押して、RGB値の表示と非表示の切替えができます</source>
        <translation>Press F3 to show or hide the RGB values</translation>
    </message>
    <message>
        <source>クリックした位置の色が連続する範囲内すべてを描画色にします</source>
        <translation>Click to paint the whole connected area of the clicked colour with the drawing colour</translation>
    </message>
    <message>
        <source>クリックした位置の色を描画色にします</source>
        <translation>Click to take the colour at that point as the drawing colour</translation>
    </message>
    <message>
        <source>クリックした「処理範囲」内の透過色を直近の色に埋め戻します</source>
        <translation>Click to fill the transparent colour in the &quot;Range&quot; back with the nearest colours</translation>
    </message>
    <message>
        <source>バリア内をクリックすると処理が選択できます</source>
        <translation>Click inside the barrier to choose what to do</translation>
    </message>
    <message>
        <source>『選択辺』は、TABキーで右回りに変更できます。(Shiftキー押しながらのときは、左回り)</source>
        <translation>Press Tab to move the &quot;selected side&quot; clockwise (anticlockwise while holding Shift)</translation>
    </message>
    <message>
        <source>『選択辺』は、Shiftキーを押しながら方向キーを押すことで辺の移動ができます</source>
        <translation>Hold Shift and press an arrow key to move the &quot;selected side&quot;</translation>
    </message>
    <message>
        <source>F4キーを押して、扁平方向の切替えができます</source>
        <translation>Press F4 to switch the flattening direction</translation>
    </message>
    <message>
        <source>Ctrlキーを押しながらマウスの右ボタンを押して、扁平方向の切替えができます</source>
        <translation>Hold Ctrl and press the right mouse button to switch the flattening direction</translation>
    </message>
    <message>
        <source>ステータスバーに操作ガイドを表示するように設定しました</source>
        <translation>The operation guide will be shown in the status bar</translation>
    </message>
    <message>
        <source>マウスカーソル位置にRGB値を表示するように設定しました</source>
        <translation>RGB values will be shown at the mouse pointer</translation>
    </message>
    <message>
        <source>F2キーを押して、ステータスバーへの操作ガイド表示と非表示の切替えができます</source>
        <translation>Press F2 to show or hide the operation guide in the status bar</translation>
    </message>
    <message>
        <source>F9キーを押して、非描画色上でカーソルを止めるか止めないかの切替えができます</source>
        <translation>Press F9 to choose whether the pointer stops on non-drawing colours</translation>
    </message>
    <message>
        <source>ペンモードのとき、非描画色上でカーソルを止めるように設定しました</source>
        <translation>In pen mode, the pointer will stop on non-drawing colours</translation>
    </message>
    <message>
        <source>アニメポインタを表示するように設定しました</source>
        <translation>The animated pointer will be shown</translation>
    </message>
    <message>
        <source>「ペンモード」メニューにマウスカーソルが乗ったとき、Fキーの説明を表示するように設定しました</source>
        <translation>Help for the F keys will be shown when the mouse pointer is over the &quot;Pen Mode&quot; tab</translation>
    </message>
    <message>
        <source>Ctrlキーを押しながらマウスホィールを回転させて&#x3000;倍率の変更ができます</source>
        <translation>Hold Ctrl and turn the mouse wheel to change the zoom</translation>
    </message>
    <message>
        <source>クリック位置に折点が追加されます。Shiftキーを押しながらクリックしたときは、1つ削除されます</source>
        <translation>Click to add a vertex there. Shift+click deletes one</translation>
    </message>
    <message>
        <source>折点をドラッグ＆ドロップして自由に位置を変更できます</source>
        <translation>Drag and drop a vertex to move it freely</translation>
    </message>
    <message>
        <source>ESCキーを押して、最後に追加した折点を削除することができます</source>
        <translation>Press Esc to delete the last vertex added</translation>
    </message>
    <message>
        <source>マウスの右ボタンを押しながらマウスカーソルを上下移動させて範囲矩形の扁平率変更ができます</source>
        <translation>Hold the right mouse button and move the pointer up and down to change the flatness of the range</translation>
    </message>
    <message>
        <source>マウスの右ボタンを押しながらマウスカーソルを左右移動させて範囲矩形のサイズ変更ができます</source>
        <translation>Hold the right mouse button and move the pointer left and right to change the size of the range</translation>
    </message>
    <message>
        <source>マウスの右ボタンを押しながらマウスホィールを回転させて範囲矩形の角度の変更ができます</source>
        <translation>Hold the right mouse button and turn the mouse wheel to change the angle of the range</translation>
    </message>
    <message>
        <source>Ctrlキー押下＋マウス右ボタン押下＋マウスホィール回転⇒範囲矩形の角度微調整</source>
        <translation>Ctrl + right mouse button + mouse wheel ⇒ fine-tune the angle of the range</translation>
    </message>
    <message>
        <source>マウスの右ボタンをＷクリックして、ペンスタイルの変更ができます</source>
        <translation>Double-click the right mouse button to change the pen style</translation>
    </message>
    <message>
        <source>Ctrlキーを押しながらの移動のときは、枠線を描画せず、イメージのみを描画します</source>
        <translation>Moving with Ctrl held draws only the image, without the frame</translation>
    </message>
</context>
<context>
    <name>Texts</name>
    <message>
        <source>(未セット)</source>
        <translation>(No Image)</translation>
    </message>
    <message>
        <source>%1 への変更を保存しますか?</source>
        <translation>Save changes to %1?</translation>
    </message>
    <message>
        <source>ドキュメントを開くことに失敗しました</source>
        <translation>Could not open the document.</translation>
    </message>
    <message>
        <source>ファイル</source>
        <translation>File</translation>
    </message>
    <message>
        <source>ホーム   WClick , Ctrl+F1</source>
        <translation>Home   Double-click, Ctrl+F1</translation>
    </message>
    <message>
        <source>ペンモード</source>
        <translation>Pen Mode</translation>
    </message>
    <message>
        <source>バリアモード</source>
        <translation>Barrier Mode</translation>
    </message>
    <message>
        <source>イメージファイル(*.jpg;*.jpeg;*.gif;*.bmp)</source>
        <translation>Image file (*.jpg;*.jpeg;*.gif;*.bmp)</translation>
    </message>
    <message>
        <source>ファイルを指定</source>
        <translation>Choose a File</translation>
    </message>
    <message>
        <source>イメージファイル(jpeg, gif, bmp, png, tiff) </source>
        <translation>Image file (jpeg, gif, bmp, png, tiff) </translation>
    </message>
    <message>
        <source>JPEGファイル(*.jpeg)</source>
        <translation>JPEG file (*.jpeg)</translation>
    </message>
    <message>
        <source>GIFファイル(*.gif)</source>
        <translation>GIF file (*.gif)</translation>
    </message>
    <message>
        <source>ビットマップファイル(*.bmp)</source>
        <translation>Bitmap file (*.bmp)</translation>
    </message>
    <message>
        <source>PNGファイル(*.png)</source>
        <translation>PNG file (*.png)</translation>
    </message>
    <message>
        <source>TIFFファイル(*.tiff)</source>
        <translation>TIFF file (*.tiff)</translation>
    </message>
    <message>
        <source>イメージ用</source>
        <translation>Image: </translation>
    </message>
    <message>
        <source>ファイルオープンエラー
</source>
        <translation>File open error
</translation>
    </message>
    <message>
        <source>メモリ確保エラー
</source>
        <translation>Memory allocation error
</translation>
    </message>
    <message>
        <source>データ読込みエラー
</source>
        <translation>Data read error
</translation>
    </message>
    <message>
        <source>形式判別エラー
</source>
        <translation>Format detection error
</translation>
    </message>
    <message>
        <source>BITMAPINFOHEADER取得エラー</source>
        <translation>Error getting BITMAPINFOHEADER: </translation>
    </message>
    <message>
        <source>配列確保用領域作成エラー</source>
        <translation>Error creating the pixel array buffer: </translation>
    </message>
    <message>
        <source>BITMAPINFO用領域作成エラー</source>
        <translation>Error creating the BITMAPINFO buffer: </translation>
    </message>
    <message>
        <source>ファイルオープンエラー</source>
        <translation>File open error: </translation>
    </message>
    <message>
        <source>BITMAPFILEHEADER書き込みエラー</source>
        <translation>Error writing BITMAPFILEHEADER: </translation>
    </message>
    <message>
        <source>作業用ビットマップ作成エラー</source>
        <translation>Error creating the work bitmap: </translation>
    </message>
    <message>
        <source>ビット配列取得エラー</source>
        <translation>Error getting the bit array: </translation>
    </message>
    <message>
        <source>BITMAPINFO書き込みエラー</source>
        <translation>Error writing BITMAPINFO: </translation>
    </message>
    <message>
        <source>ビット配列書き込みエラー</source>
        <translation>Error writing the bit array: </translation>
    </message>
    <message>
        <source>追加 終了</source>
        <translation>End Adding</translation>
    </message>
    <message>
        <source>%d秒</source>
        <translation>%d sec</translation>
    </message>
    <message>
        <source>バリアファイル(*.bar)</source>
        <translation>Barrier file (*.bar)</translation>
    </message>
    <message>
        <source>保存するファイルを指定</source>
        <translation>Choose the File to Save</translation>
    </message>
    <message>
        <source>無題</source>
        <translation>Untitled</translation>
    </message>
    <message>
        <source>モノクロ BITMAPファイル(*.bmp)</source>
        <translation>Monochrome bitmap file (*.bmp)</translation>
    </message>
    <message>
        <source>16色 BITMAPファイル(*.bmp)</source>
        <translation>16-colour bitmap file (*.bmp)</translation>
    </message>
    <message>
        <source>16色(圧縮) BITMAPファイル(*.bmp)</source>
        <translation>16-colour (compressed) bitmap file (*.bmp)</translation>
    </message>
    <message>
        <source>256色 BITMAPファイル(*.bmp)</source>
        <translation>256-colour bitmap file (*.bmp)</translation>
    </message>
    <message>
        <source>256色(圧縮) BITMAPファイル(*.bmp)</source>
        <translation>256-colour (compressed) bitmap file (*.bmp)</translation>
    </message>
    <message>
        <source>16bit色 BITMAPファイル(*.bmp)</source>
        <translation>16-bit colour bitmap file (*.bmp)</translation>
    </message>
    <message>
        <source>24bit色 BITMAPファイル(*.bmp)</source>
        <translation>24-bit colour bitmap file (*.bmp)</translation>
    </message>
    <message>
        <source>32bit色 BITMAPファイル(*.bmp)</source>
        <translation>32-bit colour bitmap file (*.bmp)</translation>
    </message>
    <message>
        <source>透過BITMAPファイル(*.bmp)</source>
        <translation>Transparent bitmap file (*.bmp)</translation>
    </message>
    <message>
        <source>透過GIFファイル(*.gif)</source>
        <translation>Transparent GIF file (*.gif)</translation>
    </message>
    <message>
        <source>透過PNGファイル(*.png)</source>
        <translation>Transparent PNG file (*.png)</translation>
    </message>
    <message>
        <source>透過TIFFファイル(*.tiff)</source>
        <translation>Transparent TIFF file (*.tiff)</translation>
    </message>
    <message>
        <source>画質設定</source>
        <translation>Image Quality</translation>
    </message>
    <message>
        <source>画質：</source>
        <translation>Quality:</translation>
    </message>
    <message>
        <source>低画質&#x3000;←・→&#x3000;高画質</source>
        <translation>Low quality  ← · →  High quality</translation>
    </message>
    <message>
        <source>決定(&amp;S)</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>中止(&amp;C)</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>最近使ったファイル</source>
        <translation>Recent Files</translation>
    </message>
    <message>
        <source>自動</source>
        <translation>Automatic</translation>
    </message>
    <message>
        <source>その他の色</source>
        <translation>More Colours...</translation>
    </message>
    <message>
        <source>推奨</source>
        <translation>Suggested</translation>
    </message>
    <message>
        <source>標準の色</source>
        <translation>Standard Colours</translation>
    </message>
    <message>
        <source>ペンスタイル</source>
        <translation>Pen Style</translation>
    </message>
    <message>
        <source>四角形</source>
        <translation>Rectangle</translation>
    </message>
    <message>
        <source>円形</source>
        <translation>Ellipse</translation>
    </message>
    <message>
        <source>三角形</source>
        <translation>Triangle</translation>
    </message>
    <message>
        <source>F1 - 取扱説明書の表示
</source>
        <translation>F1 - Show the manual
</translation>
    </message>
    <message>
        <source>F2 - ステータスバーへの操作ガイド表示・非表示
</source>
        <translation>F2 - Show/hide the operation guide in the status bar
</translation>
    </message>
    <message>
        <source>F3 - マウスカーソル位置へのRGB値表示・非表示
</source>
        <translation>F3 - Show/hide RGB values at the mouse pointer
</translation>
    </message>
    <message>
        <source>F4 - 扁平方向の切替え
</source>
        <translation>F4 - Switch the flattening direction
</translation>
    </message>
    <message>
        <source>F5 - ペン形状～矩形
</source>
        <translation>F5 - Pen shape: rectangle
</translation>
    </message>
    <message>
        <source>F6 - ペン形状～だ円
</source>
        <translation>F6 - Pen shape: ellipse
</translation>
    </message>
    <message>
        <source>F7 - ペン形状～三角形
</source>
        <translation>F7 - Pen shape: triangle
</translation>
    </message>
    <message>
        <source>F8 - ナビの表示・非表示
</source>
        <translation>F8 - Show/hide the navigator
</translation>
    </message>
    <message>
        <source>F9 - 非描画色上でのマウスカーソル一時停止
</source>
        <translation>F9 - Pause the mouse pointer on non-drawing colours
</translation>
    </message>
    <message>
        <source>F10- アニメの表示・非表示
</source>
        <translation>F10- Show/hide the animation
</translation>
    </message>
    <message>
        <source>F11- リボンメニューの表示・非表示
</source>
        <translation>F11- Show/hide the ribbon
</translation>
    </message>
    <message>
        <source>F12- このキー説明の表示・非表示</source>
        <translation>F12- Show/hide this key help</translation>
    </message>
    <message>
        <source> 360度 </source>
        <translation> 360° </translation>
    </message>
    <message>
        <source>処理の進行状況を表示します。</source>
        <translation>Shows the progress of the operation</translation>
    </message>
    <message>
        <source>処理範囲矩形の角度です</source>
        <translation>Angle of the range rectangle</translation>
    </message>
    <message>
        <source>マウスカーソル位置のイメージの色(RGB値)です。</source>
        <translation>Colour of the image at the mouse pointer (RGB values)</translation>
    </message>
    <message>
        <source>左上を(0, 0)としたイメージ内の位置です。単位：ピクセル</source>
        <translation>Position in the image, with (0, 0) at the top left. Unit: pixels</translation>
    </message>
    <message>
        <source>イメージ全体または選択矩形の幅と高さです。単位：ピクセル</source>
        <translation>Width and height of the whole image or of the selection rectangle. Unit: pixels</translation>
    </message>
    <message>
        <source>マウスカーソルのイメージ内での現在位置です。単位：ピクセル</source>
        <translation>Current position of the mouse pointer in the image. Unit: pixels</translation>
    </message>
    <message>
        <source>%1度</source>
        <translation>%1°</translation>
    </message>
    <message>
        <source>Ctrlキーを押しながらマウスカーソルを自由に移動させることができます</source>
        <translation>Hold Ctrl to move the mouse pointer freely</translation>
    </message>
    <message>
        <source>扁平方向:垂直</source>
        <translation>Flatten: Height</translation>
    </message>
    <message>
        <source>扁平方向:水平</source>
        <translation>Flatten: Width</translation>
    </message>
    <message>
        <source>現在の描画色＝透過色</source>
        <translation>Drawing Colour = Transparent</translation>
    </message>
    <message>
        <source>する</source>
        <translation>will</translation>
    </message>
    <message>
        <source>しない</source>
        <translation>will not</translation>
    </message>
    <message>
        <source>める</source>
        <translation>will</translation>
    </message>
    <message>
        <source>めない</source>
        <translation>will not</translation>
    </message>
    <message>
        <source>上下</source>
        <translation>up and down</translation>
    </message>
    <message>
        <source>左右</source>
        <translation>left and right</translation>
    </message>
    <message>
        <source>横サイズが、%1pixel になります</source>
        <translation>The width would be %1 pixels</translation>
    </message>
    <message>
        <source>縦サイズが、%1pixel になります</source>
        <translation>The height would be %1 pixels</translation>
    </message>
    <message>
        <source>Pixel&#x3000;&#x3000;(1～%1Pixel)</source>
        <translation>pixels  (1 to %1 pixels)</translation>
    </message>
    <message>
        <source>角度指定</source>
        <translation>Rotate by Angle</translation>
    </message>
    <message>
        <source>回転角度：</source>
        <translation>Rotation angle:</translation>
    </message>
    <message>
        <source>度</source>
        <translation>degrees</translation>
    </message>
    <message>
        <source>サイズ指定</source>
        <translation>Resize</translation>
    </message>
    <message>
        <source>パーセント指定</source>
        <translation>By percentage</translation>
    </message>
    <message>
        <source>ピクセル指定</source>
        <translation>By pixels</translation>
    </message>
    <message>
        <source>横：</source>
        <translation>Width:</translation>
    </message>
    <message>
        <source>縦：</source>
        <translation>Height:</translation>
    </message>
    <message>
        <source>%&#x3000;&#x3000;(1～200%)</source>
        <translation>%  (1 to 200%)</translation>
    </message>
    <message>
        <source>縦横比を固定する(&amp;F)</source>
        <translation>&amp;Keep aspect ratio</translation>
    </message>
    <message>
        <source>実行(&amp;S)</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>セットエラー
</source>
        <translation>Clipboard error
</translation>
    </message>
    <message>
        <source>クリップボードへのコピーに失敗しました</source>
        <translation>Could not copy to the clipboard.</translation>
    </message>
    <message>
        <source>システムの環境設定</source>
        <translation>Preferences</translation>
    </message>
    <message>
        <source>1 起動時に前回のファイルを開く(&amp;L)</source>
        <translation>1 Open the &amp;last file at start-up</translation>
    </message>
    <message>
        <source>2 上書き保存時バックアップファイルを作成する(&amp;B)</source>
        <translation>2 Create a &amp;backup file when saving over a file</translation>
    </message>
    <message>
        <source>3 透過色の初期値</source>
        <translation>3 Initial transparent colour</translation>
    </message>
    <message>
        <source>※ 透過色のないイメージを最初に開いたときにセットされます。</source>
        <translation>Note: set when an image without a transparent colour is opened for the first time.</translation>
    </message>
    <message>
        <source>黒色
RGB(0, 0, 0)</source>
        <translation>Black
RGB(0, 0, 0)</translation>
    </message>
    <message>
        <source>白色
RGB(255, 255, 255)</source>
        <translation>White
RGB(255, 255, 255)</translation>
    </message>
    <message>
        <source>赤色
RGB(255, 0, 0)</source>
        <translation>Red
RGB(255, 0, 0)</translation>
    </message>
    <message>
        <source>緑色
RGB(0, 255, 0)</source>
        <translation>Green
RGB(0, 255, 0)</translation>
    </message>
    <message>
        <source>青色
RGB(0, 0, 255)</source>
        <translation>Blue
RGB(0, 0, 255)</translation>
    </message>
    <message>
        <source>4 ステータスバーに操作ガイドを表示する(&amp;G)</source>
        <translation>4 Show the operation &amp;guide in the status bar</translation>
    </message>
    <message>
        <source>5 マウスカーソル位置にRGB値を表示する(&amp;R)</source>
        <translation>5 Show &amp;RGB values at the mouse pointer</translation>
    </message>
    <message>
        <source>※ 透過ペンモード等のときに、処理対象となっている色を知ることができます。</source>
        <translation>Note: shows which colour is being worked on, for example with the transparent pen.</translation>
    </message>
    <message>
        <source>6 非描画色上でマウスカーソルを一時停止させる(&amp;Z)</source>
        <translation>6 &amp;Pause the mouse pointer on non-drawing colours</translation>
    </message>
    <message>
        <source>※ ペンモードのとき、非描画色上でカーソルを止めることができます。</source>
        <translation>Note: in pen mode, the pointer can be made to stop on non-drawing colours.</translation>
    </message>
    <message>
        <source>7 オブジェクト上にマウスカーソルが乗ったとき、アニメを表示する(&amp;A)</source>
        <translation>7 Show an &amp;animation when the mouse pointer is over an object</translation>
    </message>
    <message>
        <source>表示するアニメの個数：</source>
        <translation>Number of animations:</translation>
    </message>
    <message>
        <source>(1 - 10個)</source>
        <translation>(1 - 10)</translation>
    </message>
    <message>
        <source>アニメ表示速度：</source>
        <translation>Animation speed:</translation>
    </message>
    <message>
        <source>速い</source>
        <translation>Fast</translation>
    </message>
    <message>
        <source>遅い</source>
        <translation>Slow</translation>
    </message>
    <message>
        <source>8 「ペンモード」メニューにマウスカーソルが乗ったとき、Fキーの説明を表示する(&amp;T)</source>
        <translation>8 Show help for the F keys when the mouse pointer is over the &quot;Pen Mode&quot; &amp;tab</translation>
    </message>
    <message>
        <source>[切替え:F2]</source>
        <translation>[Switch: F2]</translation>
    </message>
    <message>
        <source>[切替え:F3]</source>
        <translation>[Switch: F3]</translation>
    </message>
    <message>
        <source>[切替え:F9]</source>
        <translation>[Switch: F9]</translation>
    </message>
    <message>
        <source>[切替え:F10]</source>
        <translation>[Switch: F10]</translation>
    </message>
    <message>
        <source>[切替え:F12]</source>
        <translation>[Switch: F12]</translation>
    </message>
    <message>
        <source>保存して終了(&amp;S)</source>
        <translation>&amp;Save and Close</translation>
    </message>
    <message>
        <source>閉じる(&amp;C)</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>最近使ったファイルの管理</source>
        <translation>Manage Recent Files</translation>
    </message>
    <message>
        <source>№</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>パス</source>
        <translation>Path</translation>
    </message>
    <message>
        <source>チェックのある履歴を削除(&amp;P)</source>
        <translation>&amp;Remove Checked Entries</translation>
    </message>
    <message>
        <source>すべての履歴を削除(&amp;A)</source>
        <translation>Remove &amp;All Entries</translation>
    </message>
    <message>
        <source>戻る(&amp;B)</source>
        <translation>&amp;Back</translation>
    </message>
    <message>
        <source>※ 行をＷクリックするとファイルの場所を表示します。</source>
        <translation>Note: double-click a row to show where the file is.</translation>
    </message>
    <message>
        <source>印刷</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>1 プリンタ：</source>
        <translation>1 Printer:</translation>
    </message>
    <message>
        <source>プリンタ名：</source>
        <translation>Printer name:</translation>
    </message>
    <message>
        <source>設定(&amp;P)</source>
        <translation>Set&amp;up</translation>
    </message>
    <message>
        <source>縦</source>
        <translation>Portrait</translation>
    </message>
    <message>
        <source>横</source>
        <translation>Landscape</translation>
    </message>
    <message>
        <source>用紙：</source>
        <translation>Paper:</translation>
    </message>
    <message>
        <source>サイズ：</source>
        <translation>Size:</translation>
    </message>
    <message>
        <source>%1 X %2ﾐﾘ</source>
        <translation>%1 x %2 mm</translation>
    </message>
    <message>
        <source>2 印刷範囲：</source>
        <translation>2 Print range:</translation>
    </message>
    <message>
        <source>すべてのページ(&amp;A)</source>
        <translation>&amp;All pages</translation>
    </message>
    <message>
        <source>現在のページ(&amp;N)</source>
        <translation>Curre&amp;nt page</translation>
    </message>
    <message>
        <source>ページ指定(&amp;R)</source>
        <translation>Page &amp;range</translation>
    </message>
    <message>
        <source>全1ページ(&amp;J)</source>
        <translation>&amp;Fit to one page</translation>
    </message>
    <message>
        <source>開始：</source>
        <translation>From:</translation>
    </message>
    <message>
        <source>- 終了：</source>
        <translation>- To:</translation>
    </message>
    <message>
        <source>3 余白：(max : 50ﾐﾘ)</source>
        <translation>3 Margins: (max: 50 mm)</translation>
    </message>
    <message>
        <source>左</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>右</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>上</source>
        <translation>Top</translation>
    </message>
    <message>
        <source>下</source>
        <translation>Bottom</translation>
    </message>
    <message>
        <source>余白を表示(&amp;M)</source>
        <translation>Show &amp;margins</translation>
    </message>
    <message>
        <source>4 プレビュー：</source>
        <translation>4 Preview:</translation>
    </message>
    <message>
        <source>(ﾖｺ %1 × ﾀﾃ %2 ﾍﾟｰｼﾞ)</source>
        <translation>(%1 pages across × %2 down)</translation>
    </message>
    <message>
        <source>/ %1 ﾍﾟｰｼﾞ</source>
        <translation>/ %1 pages</translation>
    </message>
    <message>
        <source>印刷実行(&amp;S)</source>
        <translation>&amp;Print</translation>
    </message>
    <message>
        <source>PDFファイルに印刷</source>
        <translation>Print to PDF File</translation>
    </message>
    <message>
        <source>PDFファイル(*.pdf)</source>
        <translation>PDF file (*.pdf)</translation>
    </message>
    <message>
        <source>プリンタの設定</source>
        <translation>Printer Setup</translation>
    </message>
    <message>
        <source>バージョン情報</source>
        <translation>Version Information</translation>
    </message>
    <message>
        <source>Palvex
（画像背景透過エディタ）</source>
        <translation>Palvex
(Transparent Background Editor)</translation>
    </message>
    <message>
        <source>確認 (&amp;Y)</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>バージョン %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Copyright (C) 2026 Quorvane
このソフトウェアは MIT ライセンスの下で提供されます。同梱の LICENSE（パッケージでは copyright）をご覧ください。

このソフトウェアは次のライブラリを使用しています。各ライブラリの著作権は、それぞれの著作者に帰属します。

Qt 6 - Copyright (C) The Qt Company Ltd. and other contributors. GNU Lesser General Public License v3 (LGPL-3.0) の下で動的にリンクしています。ライセンス文と Qt のソースコードは https://www.qt.io/ から入手できます。Qt を利用者が差し替えることができます。

libpng - Copyright (C) 1995-2024 The PNG Reference Library Authors. PNG Reference Library License version 2.

libjpeg-turbo - Copyright (C) 2009-2024 D. R. Commander and others; This software is based in part on the work of the Independent JPEG Group. IJG License, Modified (3-clause) BSD License, zlib License.

giflib - Copyright (C) 1997 Eric S. Raymond and others. MIT License.

libtiff - Copyright (C) 1988-1997 Sam Leffler, Copyright (C) 1991-1997 Silicon Graphics, Inc. libtiff License (BSD-like).

zstd - Copyright (C) Meta Platforms, Inc. and affiliates. BSD 3-Clause License.

zlib - Copyright (C) 1995-2024 Jean-loup Gailly and Mark Adler. zlib License.

libdeflate - Copyright 2016 Eric Biggers. MIT License.</source>
        <translation>Copyright (C) 2026 Quorvane
This software is provided under the MIT License. See the LICENSE file that comes with it (copyright in the package).

This software uses the following libraries. The copyright of each library belongs to its authors.

Qt 6 - Copyright (C) The Qt Company Ltd. and other contributors. GNU Lesser General Public License v3 (LGPL-3.0), linked dynamically. The licence text and the source code of Qt are available from https://www.qt.io/. Users can replace Qt with another build of it.

libpng - Copyright (C) 1995-2024 The PNG Reference Library Authors. PNG Reference Library License version 2.

libjpeg-turbo - Copyright (C) 2009-2024 D. R. Commander and others; This software is based in part on the work of the Independent JPEG Group. IJG License, Modified (3-clause) BSD License, zlib License.

giflib - Copyright (C) 1997 Eric S. Raymond and others. MIT License.

libtiff - Copyright (C) 1988-1997 Sam Leffler, Copyright (C) 1991-1997 Silicon Graphics, Inc. libtiff License (BSD-like).

zstd - Copyright (C) Meta Platforms, Inc. and affiliates. BSD 3-Clause License.

zlib - Copyright (C) 1995-2024 Jean-loup Gailly and Mark Adler. zlib License.

libdeflate - Copyright 2016 Eric Biggers. MIT License.</translation>
    </message>
</context>
</TS>
