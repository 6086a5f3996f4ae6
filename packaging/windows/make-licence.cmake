# Writes the licence of the Windows package: a Czech summary, then the full text of
# the GNU GPL version 3, with the CR LF line ends a Windows editor expects and a
# UTF-8 byte order mark, by which the setup program's licence page (and Notepad)
# know the text's encoding.
#   cmake -DVERSION=1.65 -DOUTPUT=Licence.txt -DGPL=/usr/share/common-licenses/GPL-3 -P make-licence.cmake
file(READ "${GPL}" gpl)
set(text "Tarvo ${VERSION}
Copyright 2026 Tarvo developers

Tarvo je svobodný software: můžete jej šířit a upravovat podle podmínek licence
GNU General Public License, jak ji vydala Free Software Foundation, a to buď
verze 3 této licence, nebo (podle vaší volby) kterékoli pozdější verze.

Tarvo je šířen v naději, že bude užitečný, avšak BEZ JAKÉKOLI ZÁRUKY, i bez
předpokládané záruky PRODEJNOSTI nebo VHODNOSTI PRO URČITÝ ÚČEL. Podrobnosti
uvádí licence GNU General Public License, jejíž úplné znění následuje.

Programy tarvo.exe a tarvo-cli.exe obsahují knihovnu Qt 6.4.2
(The Qt Company Ltd., licence LGPL-3.0 nebo GPL-3.0).

--------------------------------------------------------------------------------

${gpl}")
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
string(ASCII 239 187 191 byte_order_mark)
file(WRITE "${OUTPUT}" "${byte_order_mark}${text}")
