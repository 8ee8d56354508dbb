<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="ja_JP">
<context>
    <name>HistoryStore</name>
    <message>
        <source>記録のフォルダーを作れません（%1）。このフォルダーを作れるか確かめてください。</source>
        <translation>无法创建记录文件夹（%1）。请确认可以创建此文件夹。</translation>
    </message>
    <message>
        <source>記録ファイル %1 は新しい版のIvok２で作られています。この版では読み書きしません。新しい版のIvok２をお使いください。</source>
        <translation>记录文件 %1 由较新版本的 Ivok２ 创建。此版本不会读写该文件。请使用较新版本的 Ivok２。</translation>
    </message>
    <message>
        <source>記録ファイル %1 が壊れていますが、移せません。このフォルダーに書き込めるか確かめてください。</source>
        <translation>记录文件 %1 已损坏，但无法移走。请确认此文件夹可以写入。</translation>
    </message>
    <message>
        <source>記録ファイルが壊れていたため %1 に移し、新しい記録を始めました</source>
        <translation>记录文件已损坏，已移至 %1 并开始新的记录</translation>
    </message>
    <message>
        <source>記録ファイル %1 を別のプログラムが使っています。使い終われば書き込めます。</source>
        <translation>另一个程序正在使用记录文件 %1。待其用完后即可写入。</translation>
    </message>
    <message>
        <source>記録ファイル %1 が壊れています。</source>
        <translation>记录文件 %1 已损坏。</translation>
    </message>
    <message>
        <source>ディスクがいっぱいで記録ファイル %1 に書き込めません。ディスクに空きを作ってください。</source>
        <translation>磁盘已满，无法写入记录文件 %1。请腾出磁盘空间。</translation>
    </message>
    <message>
        <source>記録ファイル %1 を使えません（エラー番号 %2）。</source>
        <translation>无法使用记录文件 %1（错误代码 %2）。</translation>
    </message>
    <message>
        <source>記録ファイル %1 に書き込めません。このファイルとフォルダーに書き込めるか確かめてください。</source>
        <translation>无法写入记录文件 %1。请确认此文件及其文件夹可以写入。</translation>
    </message>
</context>
<context>
    <name>HistoryWorker</name>
    <message>
        <source>CSVファイル %1 に書き込めません。書き込める場所を選んでください。</source>
        <translation>无法写入 CSV 文件 %1。请选择可以写入的位置。</translation>
    </message>
    <message>
        <source>前回までに記録できなかったゲーム（%1）を、別のIvok２が使っているため、まだ記録していません。次の起動で記録します。</source>
        <translation>之前未能记录的游戏（%1）正被另一个 Ivok２ 使用，因此尚未记录。将在下次启动时记录。</translation>
    </message>
    <message>
        <source>、</source>
        <extracomment>Between the places named in a list.</extracomment>
        <translation>、</translation>
    </message>
    <message numerus="yes">
        <source>記録できない %n 行を %1 に移しました。</source>
        <translation>
            <numerusform>已将 %n 行无法记录的内容移至 %1。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1まだ記録していないゲーム %n 件は、書き込めるようになりしだい記録します。</source>
        <translation>
            <numerusform>%1尚未记录的 %n 局游戏将在文件可以写入后立即记录。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n 件のゲームを記録できませんでした。記録ファイル %1 にも、控えの場所（%2）にも書き込めません。</source>
        <translation>
            <numerusform>有 %n 局游戏未能记录：记录文件 %1 和备用位置（%2）均无法写入。</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>LanguageName</name>
    <message>
        <source>日本語</source>
        <extracomment>This language&apos;s name in itself, as a player looks for it in a list: English, Deutsch, 简体中文.</extracomment>
        <translation>简体中文</translation>
    </message>
</context>
<context>
    <name>RecordsChart</name>
    <message>
        <source>正解までの時間</source>
        <translation>找到变化所用时间</translation>
    </message>
    <message>
        <source>正解</source>
        <translation>正确</translation>
    </message>
    <message>
        <source>上端より遅い正解</source>
        <translation>慢于上限的正确</translation>
    </message>
    <message>
        <source>直近%1回の中央値</source>
        <extracomment>The line of the median of the last hits; %1 is how many.</extracomment>
        <translation>最近 %1 次的中位数</translation>
    </message>
    <message>
        <source>ギブアップ</source>
        <translation>放弃</translation>
    </message>
    <message>
        <source>レベル</source>
        <translation>等级</translation>
    </message>
    <message>
        <source>秒</source>
        <translation>秒</translation>
    </message>
    <message>
        <source>読み込み中…</source>
        <translation>正在加载…</translation>
    </message>
    <message>
        <source>%1
%2&#x3000;%3 個
%4</source>
        <extracomment>A game under the pointer: its start, kind of change, number of symbols and outcome.</extracomment>
        <translation>%1
%2&#x3000;%3 个符号
%4</translation>
    </message>
    <message>
        <source> %1 秒</source>
        <translation> %1 秒</translation>
    </message>
    <message>
        <source>
レベル %1</source>
        <translation>
等级 %1</translation>
    </message>
    <message>
        <source>ゲーム（%1 回、画面がずれたゲーム %2 回、不明 %3 回）</source>
        <translation>游戏（%1 局，画面有偏差的 %2 局，未知 %3 局）</translation>
    </message>
    <message>
        <source>ゲーム（%1 回、画面がずれたゲーム %2 回）</source>
        <translation>游戏（%1 局，画面有偏差的 %2 局）</translation>
    </message>
    <message>
        <source>
ずれた画面 不明</source>
        <translation>
偏差画面：未知</translation>
    </message>
    <message>
        <source>
ずれた画面 %1</source>
        <translation>
偏差画面：%1</translation>
    </message>
</context>
<context>
    <name>RecordsTableModel</name>
    <message>
        <source>色</source>
        <translation>颜色</translation>
    </message>
    <message>
        <source>別の記号</source>
        <translation>别的符号</translation>
    </message>
    <message>
        <source>似た記号</source>
        <translation>相似符号</translation>
    </message>
    <message>
        <source>消える</source>
        <translation>消失</translation>
    </message>
    <message>
        <source>移動</source>
        <translation>移动</translation>
    </message>
    <message>
        <source>なし</source>
        <translation>无</translation>
    </message>
    <message>
        <source>正解</source>
        <translation>正确</translation>
    </message>
    <message>
        <source>ギブアップ</source>
        <translation>放弃</translation>
    </message>
    <message>
        <source>中断</source>
        <translation>中断</translation>
    </message>
    <message>
        <source>%1%</source>
        <extracomment>A hit rate in percent.</extracomment>
        <translation>%1%</translation>
    </message>
</context>
<context>
    <name>frmAbout</name>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>%1のﾊﾞｰｼﾞｮﾝ情報</source>
        <translation>关于 %1</translation>
    </message>
    <message>
        <source>ﾊﾞｰｼﾞｮﾝ %1</source>
        <translation>版本 %1</translation>
    </message>
</context>
<context>
    <name>frmMain</name>
    <message>
        <source>スタート</source>
        <translation>开始</translation>
    </message>
    <message>
        <source>ギブアップ</source>
        <translation>放弃</translation>
    </message>
    <message>
        <source>解答表示中</source>
        <translation>显示答案</translation>
    </message>
    <message>
        <source>エラーが発生しました。この問題には正解がありません。画面サイズを大きくするか、文字の数を減らして、新しい問題に挑戦してください。</source>
        <translation>发生错误：此题没有正确答案。请放大窗口或减少符号数量，然后尝试新的题目。</translation>
    </message>
    <message>
        <source>画面が小さすぎるため、問題を作れません。画面サイズを大きくするか、文字の数を減らしてください。</source>
        <translation>窗口太小，无法出题。请放大窗口或减少符号数量。</translation>
    </message>
    <message>
        <source>%1 秒</source>
        <translation>%1 秒</translation>
    </message>
    <message>
        <source>正解</source>
        <translation>正确！</translation>
    </message>
    <message>
        <source>---</source>
        <extracomment>The score board&apos;s mark for a game given up (a row of dashes where a time would stand).</extracomment>
        <translation>---</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>退出</translation>
    </message>
    <message>
        <source>設定</source>
        <translation>设置</translation>
    </message>
    <message>
        <source>バージョン</source>
        <translation>版本</translation>
    </message>
    <message>
        <source>記録</source>
        <translation>记录</translation>
    </message>
    <message>
        <source>準備中…</source>
        <translation>准备中…</translation>
    </message>
    <message>
        <source>トレーニング（記録を読み込み中…）</source>
        <translation>训练（正在读取记录…）</translation>
    </message>
    <message>
        <source>トレーニング %1 個</source>
        <translation>训练：%1 个符号</translation>
    </message>
    <message>
        <source>（この画面では %1 個まで）</source>
        <translation>（此窗口最多 %1 个）</translation>
    </message>
    <message>
        <source>（新しい版の記録は読めないため、今回のゲームから）</source>
        <translation>（从本局开始：无法读取新版本的记录）</translation>
    </message>
    <message>
        <source>（記録を別のプログラムが使っているため、今回のゲームから）</source>
        <translation>（从本局开始：另一个程序正在使用记录）</translation>
    </message>
    <message>
        <source>（記録を読めないため、今回のゲームから）</source>
        <translation>（从本局开始：无法读取记录）</translation>
    </message>
</context>
<context>
    <name>frmOpt</name>
    <message>
        <source>標準</source>
        <translation>标准</translation>
    </message>
    <message>
        <source>見やすい</source>
        <translation>易于辨认</translation>
    </message>
    <message>
        <source>色違い</source>
        <translation>颜色</translation>
    </message>
    <message>
        <source>記号の色が異なります</source>
        <translation>符号改变颜色</translation>
    </message>
    <message>
        <source>置き換え１</source>
        <translation>换成别的符号</translation>
    </message>
    <message>
        <source>全く別の記号に置き換えられます</source>
        <translation>符号被换成完全不同的符号</translation>
    </message>
    <message>
        <source>置き換え２</source>
        <translation>换成相似符号</translation>
    </message>
    <message>
        <source>似た記号に置き換えられます</source>
        <translation>符号被换成外形相似的符号</translation>
    </message>
    <message>
        <source>消滅</source>
        <translation>消失</translation>
    </message>
    <message>
        <source>記号が消えます</source>
        <translation>符号消失</translation>
    </message>
    <message>
        <source>移動</source>
        <translation>移动</translation>
    </message>
    <message>
        <source>記号が移動します</source>
        <translation>符号移到别的格子</translation>
    </message>
    <message>
        <source>設定</source>
        <translation>设置</translation>
    </message>
    <message>
        <source>表示時間（0.1～10秒）</source>
        <translation>显示时间（0.1～10秒）</translation>
    </message>
    <message>
        <source>切替時間（0.1～3秒）</source>
        <translation>空白时间（0.1～3秒）</translation>
    </message>
    <message>
        <source>記号の数（5～100）</source>
        <translation>符号数量（5～100）</translation>
    </message>
    <message>
        <source>文字の長さ（１～20）</source>
        <translation>字符长度（1～20）</translation>
    </message>
    <message>
        <source>間違いの項目</source>
        <translation>变化类型</translation>
    </message>
    <message>
        <source>色&#x3000;（色の指定は16進数で行ってください）</source>
        <translation>颜色（请用十六进制指定）</translation>
    </message>
    <message>
        <source>配色</source>
        <translation>配色方案</translation>
    </message>
    <message>
        <source>難しさを自動で調整する</source>
        <translation>自动调整难度</translation>
    </message>
    <message>
        <source>言語</source>
        <extracomment>The list of languages; the languages themselves are named each in its own.</extracomment>
        <translation>语言</translation>
    </message>
    <message>
        <source>自動</source>
        <extracomment>The language of the desktop.</extracomment>
        <translation>自动</translation>
    </message>
    <message>
        <source>変更</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>設定ファイルを保存できませんでした。
%1</source>
        <translation>无法保存设置文件。
%1</translation>
    </message>
</context>
<context>
    <name>frmRecords</name>
    <message>
        <source>読み込み中…</source>
        <translation>正在加载…</translation>
    </message>
    <message>
        <source>すべて</source>
        <translation>全部</translation>
    </message>
    <message>
        <source>過去7日</source>
        <translation>最近 7 天</translation>
    </message>
    <message>
        <source>過去30日</source>
        <translation>最近 30 天</translation>
    </message>
    <message>
        <source>Ivok２の記録</source>
        <translation>Ivok２ 记录</translation>
    </message>
    <message>
        <source>記号の数</source>
        <translation>符号数</translation>
    </message>
    <message>
        <source>期間</source>
        <translation>时间段</translation>
    </message>
    <message>
        <source>CSVに書き出す</source>
        <translation>导出为 CSV</translation>
    </message>
    <message>
        <source>種類</source>
        <extracomment>The columns of the table per kind of change.</extracomment>
        <translation>类型</translation>
    </message>
    <message>
        <source>ゲーム数</source>
        <translation>局数</translation>
    </message>
    <message>
        <source>正解</source>
        <translation>正确</translation>
    </message>
    <message>
        <source>ギブアップ</source>
        <translation>放弃</translation>
    </message>
    <message>
        <source>中断</source>
        <translation>中断</translation>
    </message>
    <message>
        <source>正解率</source>
        <translation>正确率</translation>
    </message>
    <message>
        <source>中央値（秒）</source>
        <translation>中位数（秒）</translation>
    </message>
    <message>
        <source>最高（秒）</source>
        <translation>最佳（秒）</translation>
    </message>
    <message>
        <source>時刻</source>
        <translation>时间</translation>
    </message>
    <message>
        <source>結果</source>
        <translation>结果</translation>
    </message>
    <message>
        <source>秒</source>
        <translation>秒</translation>
    </message>
    <message>
        <source>種類ごとの成績</source>
        <translation>按变化类型的成绩</translation>
    </message>
    <message>
        <source>記号の数ごとの自己ベスト</source>
        <translation>按符号数的个人最佳</translation>
    </message>
    <message>
        <source>今日のゲーム</source>
        <translation>今日游戏</translation>
    </message>
    <message>
        <source>書き出し中…</source>
        <translation>正在导出…</translation>
    </message>
    <message numerus="yes">
        <source>%n 件を %1 に書き出しました</source>
        <translation>
            <numerusform>已将 %n 局导出到 %1</numerusform>
        </translation>
    </message>
    <message>
        <source>%1に書き出せません（%2）</source>
        <translation>无法写入 %1（%2）</translation>
    </message>
</context>
</TS>
