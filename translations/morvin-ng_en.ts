<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB" sourcelanguage="pl_PL">
<context>
    <name>Articles</name>
    <message>
        <source>Delphi - Obsługa rejestru</source>
        <translation>Delphi - Working with the registry</translation>
    </message>
    <message>
        <source>Rejestr</source>
        <translation>The registry</translation>
    </message>
    <message>
        <source>Rejestr - W poszukiwaniu danych</source>
        <translation>The registry - Looking for data</translation>
    </message>
</context>
<context>
    <name>Guard</name>
    <message>
        <source>Nieznany błąd programu</source>
        <translation>Unknown program error</translation>
    </message>
    <message>
        <source>Plik %1 nie jest plikiem rejestru</source>
        <translation>The file %1 is not a registry file</translation>
    </message>
    <message>
        <source>Plik rejestru %1 jest uszkodzony</source>
        <translation>The registry file %1 is damaged</translation>
    </message>
    <message>
        <source>Nie można utworzyć pliku rejestru %1</source>
        <translation>Cannot create the registry file %1</translation>
    </message>
    <message>
        <source>Plik rejestru %1 pochodzi z nowszej wersji programu</source>
        <translation>The registry file %1 was made by a newer version of the program</translation>
    </message>
    <message>
        <source>Nie można otworzyć pliku rejestru %1</source>
        <translation>Cannot open the registry file %1</translation>
    </message>
</context>
<context>
    <name>LinuxIntegration</name>
    <message>
        <source>Uruchom Morvin NG</source>
        <translation>Start Morvin NG</translation>
    </message>
    <message>
        <source>Ustawienia systemu Windows 9x w programie Morvin NG</source>
        <translation>Windows 9x settings in Morvin NG</translation>
    </message>
</context>
<context>
    <name>Startup</name>
    <message>
        <source>Nie można otworzyć maszyny w folderze %1:
%2</source>
        <translation>Cannot open the machine in the folder %1:
%2</translation>
    </message>
</context>
<context>
    <name>TFrKodZnak</name>
    <message>
        <source>Kreator zbierze teraz ogólne informacje dotyczące tworzonej tapety. </source>
        <translation>The wizard will now gather general information about the wallpaper you are creating. </translation>
    </message>
    <message>
        <source>Standard kodowania znaków:</source>
        <translation>Character encoding:</translation>
    </message>
    <message>
        <source>Z poniższej listy wybierz standard kodowania znaków, który zostanie użyty do zbudowania animowanej tapety. Zaleca się wybranie standardu ISO-8859-2 gdyż ta tablica znaków zawiera zarówno obsługę polskich ogonków, jak i jest powszechnie stosowana w sieci.</source>
        <translation>Choose from the list below the character encoding used to build the animated wallpaper. ISO-8859-2 is recommended: it covers the Polish accented letters and is widely used on the web.</translation>
    </message>
    <message>
        <source>Standard kodowania znaków</source>
        <translation>Character encoding</translation>
    </message>
    <message>
        <source>ISO-8859-2</source>
        <translation>ISO-8859-2</translation>
    </message>
    <message>
        <source>windows-1250</source>
        <translation>windows-1250</translation>
    </message>
</context>
<context>
    <name>TFrKoniec</name>
    <message>
        <source>Gratulacje! Kreator animowanej tapety zakończył zbieranie informacji potrzebnych do utworzenia nowej tapety.</source>
        <translation>Congratulations! The Animated Wallpaper Wizard has gathered everything it needs to create the new wallpaper.</translation>
    </message>
    <message>
        <source>Kliknij przycisk &apos;Zakończ&apos;, aby utworzyć animowaną tapetę. Więcej o animowanych tapetach dowiesz się z pomocy programu Morvin, kótra dostępna jest po naciśnięciu przycisku &apos;Pomoc&apos; lub wybraniu opcji &apos;Pomoc&apos; z menu.</source>
        <translation>Click &apos;Finish&apos; to create the animated wallpaper. You can read more about animated wallpapers in Morvin&apos;s help, opened with the &apos;Help&apos; button or the &apos;Help&apos; entry of the menu.</translation>
    </message>
    <message>
        <source>Notka: Animowana tapeta będzie dostępna w oknie &quot;Właściwości : Ekran&quot; na zakładce &quot;Tapeta&quot;. Aby ją wyświetlić - wybierz ją z listy, a następnie kliknij przycisk &quot;OK&quot;.</source>
        <translation>Note: the animated wallpaper will be listed in &quot;Display Properties&quot; on the &quot;Background&quot; tab. To show it, choose it from the list and click &quot;OK&quot;.</translation>
    </message>
</context>
<context>
    <name>TFrOpcjeAnim</name>
    <message>
        <source>Kreator umożliwia Ci włączenie dodatkowych efektów, dzieki którym tapeta prezentowała będzie się bardzej efektownie.</source>
        <translation>The wizard lets you turn on extra effects that make the wallpaper look more striking.</translation>
    </message>
    <message>
        <source>Jakość animacji:</source>
        <translation>Animation quality:</translation>
    </message>
    <message>
        <source>Wybierz odpowiednią jakość animacji dla Twojego sprzętu, tak aby tapeta nie spowalniała zbytnio systemu.</source>
        <translation>Choose an animation quality that suits your hardware, so that the wallpaper does not slow the system down too much.</translation>
    </message>
    <message>
        <source>Jakość animacji</source>
        <translation>Animation quality</translation>
    </message>
    <message>
        <source>Słaba</source>
        <translation>Low</translation>
    </message>
    <message>
        <source>Dobra</source>
        <translation>Medium</translation>
    </message>
    <message>
        <source>Bardzo dobra</source>
        <translation>High</translation>
    </message>
    <message>
        <source>Menu podręczne</source>
        <translation>Shortcut menu</translation>
    </message>
    <message>
        <source>Menu podręczne pojawia się wówczas gdy klikniemy na animację prawym przyciskiem myszy. Umożliwia ono np. powiększenie animacji. Jeśli poniższe pole wyboru pozostawisz wyczyszczone, nie będziesz miał dostępu do omawianych funkcji.</source>
        <translation>The shortcut menu appears when you right-click the animation. It lets you, for example, zoom the animation. If you leave the check box below cleared, these functions will not be available.</translation>
    </message>
    <message>
        <source>Pokaż menu podręczne animacji</source>
        <translation>Show the animation&apos;s shortcut menu</translation>
    </message>
</context>
<context>
    <name>TFrPlikAnim</name>
    <message>
        <source>Kreator musi wiedzieć gdzie znajduje się plik zawierający animację Flash, którą chcesz umieścić na pulpicie. Aby wskazać plik zawierający animację Flash, kliknij przycisk &quot;Otwórz&quot;, a następnie odszukaj i otówrz plik SWF z animacją.</source>
        <translation>The wizard needs to know where the file with the Flash animation you want on your desktop is. To point to it, click &quot;Open&quot;, then find and open the SWF file with the animation.</translation>
    </message>
    <message>
        <source>Otwórz</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Lokalizacja animacji:</source>
        <translation>Animation location:</translation>
    </message>
    <message>
        <source>Lokalizacja animacji</source>
        <translation>Animation location</translation>
    </message>
    <message>
        <source>Notka: Jeśli posiadasz plik z roszerzeniam &apos;.fla&apos; i chcesz umieścić go na tapecie, musisz go skonwertować do formatu &apos;.swf&apos;. W tym celu za pomocą programu Macromedia Flash otwórz plik o roszerzeniu &apos;.fla&apos;, z menu plik wybierz polecenie Eksport Movie...&apos;.</source>
        <translation>Note: if you have a &apos;.fla&apos; file and want it on the wallpaper, you must convert it to the &apos;.swf&apos; format first. Open the &apos;.fla&apos; file in Macromedia Flash and choose &apos;Export Movie...&apos; from the File menu.</translation>
    </message>
    <message>
        <source>W nowym oknie, w polu &apos;Zapisz jako typ&apos;, wybierz &apos;Flash Movie (*.swf)&apos;, następnie zapisz plik pod dowolną nazwą i wskaż go niniejszemu kreatorowi.</source>
        <translation>In the new window, choose &apos;Flash Movie (*.swf)&apos; under &apos;Save as type&apos;, save the file under any name and point this wizard to it.</translation>
    </message>
</context>
<context>
    <name>TFrSzerWys</name>
    <message>
        <source>Kreator potrzebuje informacji dotyczących rozmiaru wyświetlanej tapety oraz jej wyrównania. Jeśli podasz rozmiar zbyt duży tapeta pozostanie rozciągnięta, jeśli podasz zbyt mały tapeta zostanie ściśnięta.</source>
        <translation>The wizard needs the size of the wallpaper and its alignment. A size that is too large stretches the wallpaper; one that is too small squeezes it.</translation>
    </message>
    <message>
        <source>Obszar, który tapeta ma obejmować:</source>
        <translation>Area the wallpaper covers:</translation>
    </message>
    <message>
        <source>Szerokość pulpitu</source>
        <translation>Desktop width</translation>
    </message>
    <message>
        <source>Wysokość pulpitu</source>
        <translation>Desktop height</translation>
    </message>
    <message>
        <source>Domyślnie zostaje wczytana aktualna rozdzielczość ekranu. Przy takim ustawieniu animacja zajmie cały obszar ekranu.</source>
        <translation>The current screen resolution is filled in by default. With it, the animation covers the whole screen.</translation>
    </message>
    <message>
        <source>Z listy poniżej wybierz rodzaj wyrónania. Spowoduje to przyciągnięcie animacji np. do lewej czy do prawej.</source>
        <translation>Choose the alignment from the list below. It moves the animation, for example, to the left or to the right.</translation>
    </message>
    <message>
        <source>Wyrównanie:</source>
        <translation>Alignment:</translation>
    </message>
    <message>
        <source>Wyrównanie</source>
        <translation>Alignment</translation>
    </message>
    <message>
        <source>Do prawej</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>Do lewej</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>Do środka</source>
        <translation>Center</translation>
    </message>
    <message>
        <source>Do góry</source>
        <translation>Top</translation>
    </message>
    <message>
        <source>Do dołu</source>
        <translation>Bottom</translation>
    </message>
</context>
<context>
    <name>TFrTytulTlo</name>
    <message>
        <source>Kreator prosi o informacje dotyczące przyszłego wyglądu strony.</source>
        <translation>The wizard asks how the page should look.</translation>
    </message>
    <message>
        <source>Tytuł tapety:</source>
        <translation>Wallpaper title:</translation>
    </message>
    <message>
        <source>Tytuł tapety nie będzie wyświetlany na pulpicie. Wyświetli się on dopiero wówczas, gdy użytkownik otworzy tapetę poprzez przeglądarkę.</source>
        <translation>The title is not shown on the desktop. It appears only when the wallpaper is opened in a web browser.</translation>
    </message>
    <message>
        <source>Tytuł tapety</source>
        <translation>Wallpaper title</translation>
    </message>
    <message>
        <source>Kolor tła:</source>
        <translation>Background color:</translation>
    </message>
    <message>
        <source>Kliknij, aby wybrać kolor tła</source>
        <translation>Click to choose the background color</translation>
    </message>
    <message>
        <source>Kolor tła</source>
        <translation>Background color</translation>
    </message>
    <message>
        <source>Kliknij, aby wybrać kolor tła tapety</source>
        <translation>Click to choose the wallpaper&apos;s background color</translation>
    </message>
    <message>
        <source>Kolor tła tapety najlepiej dopasować do koloru tła animacji, która znajdować się będzie na tapecie. W ten sposób tapeta powinna wyglądać bardziej estetycznie.</source>
        <translation>The wallpaper looks best when its background color matches the background of the animation on it.</translation>
    </message>
</context>
<context>
    <name>TMainForm</name>
    <message>
        <source>Morvin 2.0 - Next Generation</source>
        <translation>Morvin 2.0 - Next Generation</translation>
    </message>
    <message>
        <source>Tapeta pulpitu</source>
        <translation>Desktop wallpaper</translation>
    </message>
    <message>
        <source>Tło zegara</source>
        <translation>Clock background</translation>
    </message>
    <message>
        <source>Zegar</source>
        <translation>Clock</translation>
    </message>
    <message>
        <source>Dwuklik: data i godzina</source>
        <translation>Double-click: date and time</translation>
    </message>
    <message>
        <source>Dla:</source>
        <translation>Computer:</translation>
    </message>
    <message>
        <source>Nazwa komputera</source>
        <translation>Computer name</translation>
    </message>
    <message>
        <source>Pulpit</source>
        <translation>Desktop</translation>
    </message>
    <message>
        <source>Foldery</source>
        <translation>Folders</translation>
    </message>
    <message>
        <source>Ikony</source>
        <translation>Icons</translation>
    </message>
    <message>
        <source>Menu &quot;Start&quot;</source>
        <translation>&quot;Start&quot; menu</translation>
    </message>
    <message>
        <source>Windows</source>
        <translation>Windows</translation>
    </message>
    <message>
        <source>Sieć</source>
        <translation>Network</translation>
    </message>
    <message>
        <source>MS Dos</source>
        <translation>MS-DOS</translation>
    </message>
    <message>
        <source>UnInstall</source>
        <translation>Uninstall</translation>
    </message>
    <message>
        <source>Poradnik</source>
        <translation>Tricks</translation>
    </message>
    <message>
        <source>Menu</source>
        <translation>Menu</translation>
    </message>
    <message>
        <source>Pasek menu Morvin NG</source>
        <translation>Morvin NG menu bar</translation>
    </message>
    <message>
        <source>Pulpit        </source>
        <translation>Desktop       </translation>
    </message>
    <message>
        <source>Foldery       </source>
        <translation>Folders       </translation>
    </message>
    <message>
        <source>Ikony         </source>
        <translation>Icons         </translation>
    </message>
    <message>
        <source>Pasek zadań   </source>
        <translation>Taskbar       </translation>
    </message>
    <message>
        <source>Pasek zadań</source>
        <translation>Taskbar</translation>
    </message>
    <message>
        <source>Windows       </source>
        <translation>Windows       </translation>
    </message>
    <message>
        <source>Sieć          </source>
        <translation>Network       </translation>
    </message>
    <message>
        <source>MS Dos        </source>
        <translation>MS-DOS        </translation>
    </message>
    <message>
        <source>Sztuczki      </source>
        <translation>Tricks        </translation>
    </message>
    <message>
        <source>Sztuczki</source>
        <translation>Tricks</translation>
    </message>
    <message>
        <source>Pomoc         </source>
        <translation>Help          </translation>
    </message>
    <message>
        <source>Pomoc</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Linia</source>
        <translation>Line</translation>
    </message>
    <message>
        <source>Zamknij...    </source>
        <translation>Exit...       </translation>
    </message>
    <message>
        <source>Zamknij...</source>
        <translation>Exit...</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Ustawienia programu</source>
        <translation>Program settings</translation>
    </message>
    <message>
        <source>Odśwież</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>Właściwości</source>
        <translation>Properties</translation>
    </message>
    <message>
        <source>Historia zmian...</source>
        <translation>Change History...</translation>
    </message>
    <message>
        <source>Maszyny...</source>
        <translation>Machines...</translation>
    </message>
</context>
<context>
    <name>TfmDos</name>
    <message>
        <source>Microsoft DOS</source>
        <translation>MS-DOS</translation>
    </message>
    <message>
        <source>Baner okna Microsoft DOS</source>
        <translation>MS-DOS window banner</translation>
    </message>
    <message>
        <source>Aplikacje</source>
        <translation>Applications</translation>
    </message>
    <message>
        <source>Brak możliwości uruchamiania aplikacji DOS&apos;u</source>
        <translation>Do not allow MS-DOS applications to run</translation>
    </message>
    <message>
        <source>Brak możliwości uruchamiania aplikacji DOS&apos;u w trybie pojedynczej aplikacji</source>
        <translation>Do not allow MS-DOS applications in MS-DOS mode</translation>
    </message>
    <message>
        <source>Uruchamianie Windows</source>
        <translation>Starting Windows</translation>
    </message>
    <message>
        <source>Sprawdzaj dyski po niepoprawnym zamknięciu systemu</source>
        <translation>Check the disks after an improper shutdown</translation>
    </message>
    <message>
        <source>Automatycznie uruchamia program ScanDisk po niepoprawnym zamknięciu systemu np. reset</source>
        <translation>Runs ScanDisk automatically after the system was not shut down properly, e.g. after a reset</translation>
    </message>
    <message>
        <source>Włącz automatyczne uruchamianie systemu</source>
        <translation>Start Windows automatically</translation>
    </message>
    <message>
        <source>Jeśli pole jest wyczyszczone wówczas system Windows nie będzie się automatycznie uruchamiał. Aby uruchomić system Windows (po wyłączeniu tej opcji) użytkownik zmuszony będzie wpisać słowo &quot;win&quot; i nacisnąć klawisz ENTER</source>
        <translation>When this box is cleared, Windows does not start by itself. To start Windows (with this option off) the user has to type &quot;win&quot; and press ENTER</translation>
    </message>
    <message>
        <source>Uaktywnij menu startowe Windows</source>
        <translation>Always show the Startup menu</translation>
    </message>
    <message>
        <source>Przy starcie systemu wyświetlane będzie menu pozwalające na wybór alternatywnych opcji jak np. praca w trybie awaryjnym.</source>
        <translation>At startup the system shows a menu of other ways to start, such as Safe mode.</translation>
    </message>
    <message>
        <source>Liczba sekund przez które wyświetlane będzie menu startowe.</source>
        <translation>How many seconds the Startup menu is shown.</translation>
    </message>
    <message>
        <source>Wyłącz klawisze F4, F5, F6 i F8 przy starcie Windows</source>
        <translation>Disable the F4, F5, F6 and F8 keys at startup</translation>
    </message>
    <message>
        <source>Pokazuj logo systemu Windows przy starcie</source>
        <translation>Show the Windows logo at startup</translation>
    </message>
</context>
<context>
    <name>TfmFoldery</name>
    <message>
        <source>Foldery i pliki</source>
        <translation>Folders and files</translation>
    </message>
    <message>
        <source>Ogólne</source>
        <translation>General</translation>
    </message>
    <message>
        <source>Pokazuj pliki ukryte i systemowe</source>
        <translation>Show hidden and system files</translation>
    </message>
    <message>
        <source>Ukrywaj rozszerzenia plików znanych typów</source>
        <translation>Hide extensions of known file types</translation>
    </message>
    <message>
        <source>Lokalizacje folderów systemowych</source>
        <translation>System folder locations</translation>
    </message>
    <message>
        <source>Nazwa</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Lokalizacja</source>
        <translation>Location</translation>
    </message>
    <message>
        <source>Dane aplikacji</source>
        <translation>Application Data</translation>
    </message>
    <message>
        <source>Temporary Internet Files</source>
        <translation>Temporary Internet Files</translation>
    </message>
    <message>
        <source>Cookies</source>
        <translation>Cookies</translation>
    </message>
    <message>
        <source>Pulpit</source>
        <translation>Desktop</translation>
    </message>
    <message>
        <source>Ulubione</source>
        <translation>Favorites</translation>
    </message>
    <message>
        <source>Czcionki</source>
        <translation>Fonts</translation>
    </message>
    <message>
        <source>Historia</source>
        <translation>History</translation>
    </message>
    <message>
        <source>Moje dokumenty</source>
        <translation>My Documents</translation>
    </message>
    <message>
        <source>Print Hood</source>
        <translation>PrintHood</translation>
    </message>
    <message>
        <source>Programy</source>
        <translation>Programs</translation>
    </message>
    <message>
        <source>Ostatnio otwierane</source>
        <translation>Recent</translation>
    </message>
    <message>
        <source>Wyślij do</source>
        <translation>SendTo</translation>
    </message>
    <message>
        <source>Menu Start</source>
        <translation>Start Menu</translation>
    </message>
    <message>
        <source>Autostart</source>
        <translation>StartUp</translation>
    </message>
    <message>
        <source>Wzorce dokumentów</source>
        <translation>Templates</translation>
    </message>
</context>
<context>
    <name>TfmHistoria</name>
    <message>
        <source>Historia zmian</source>
        <translation>Change History</translation>
    </message>
    <message>
        <source>Pokaż zmiany:</source>
        <translation>Show changes:</translation>
    </message>
    <message>
        <source>Pokaż zmiany</source>
        <translation>Show changes</translation>
    </message>
    <message>
        <source>Lista zmian</source>
        <translation>List of changes</translation>
    </message>
    <message>
        <source>Czas</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Źródło</source>
        <translation>Source</translation>
    </message>
    <message>
        <source>Klucz</source>
        <translation>Key</translation>
    </message>
    <message>
        <source>Wartość</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>Przed → Po</source>
        <translation>Before → After</translation>
    </message>
    <message>
        <source>Cofnij zaznaczone</source>
        <translation>Undo selected</translation>
    </message>
    <message>
        <source>Cofnij wszystkie</source>
        <translation>Undo all</translation>
    </message>
    <message>
        <source>Zapisz zmiany jako plik .reg...</source>
        <translation>Save changes as a .reg file...</translation>
    </message>
    <message>
        <source>Zapomnij starsze...</source>
        <translation>Forget older...</translation>
    </message>
    <message>
        <source>Zamknij</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>TfmIkony</name>
    <message>
        <source>Ikony</source>
        <translation>Icons</translation>
    </message>
    <message>
        <source>Zmień opis ikony Mój komputer</source>
        <translation>Change the description of My Computer</translation>
    </message>
    <message>
        <source>Domyślnie</source>
        <translation>Default</translation>
    </message>
    <message>
        <source>Przywraca domyślny opis ikony Mój komputer</source>
        <translation>Restores the default description of My Computer</translation>
    </message>
    <message>
        <source>Zmień opis ikony Moje dokumenty</source>
        <translation>Change the description of My Documents</translation>
    </message>
    <message>
        <source>Przywraca domyślny opis ikony Moje dokumenty</source>
        <translation>Restores the default description of My Documents</translation>
    </message>
    <message>
        <source>Zmień opis ikony Internet</source>
        <translation>Change the description of The Internet</translation>
    </message>
    <message>
        <source>Przywraca domyślny opis ikony Internet</source>
        <translation>Restores the default description of The Internet</translation>
    </message>
    <message>
        <source>Zmień opis ikony Kosz</source>
        <translation>Change the description of the Recycle Bin</translation>
    </message>
    <message>
        <source>Przywraca domyślny opis ikony Kosz</source>
        <translation>Restores the default description of the Recycle Bin</translation>
    </message>
    <message>
        <source>Zmień opis ikony Otoczenie sieciowe</source>
        <translation>Change the description of Network Neighborhood</translation>
    </message>
    <message>
        <source>Przywraca domyślny opis ikony Otoczenie sieciowe</source>
        <translation>Restores the default description of Network Neighborhood</translation>
    </message>
    <message>
        <source>Gdy użytkownik wskaże na ikonę np. Kosz, a kursor pozostanie przez chwilę nieruchomy, wówczas wyskoczy dymek z informacją o danym elemencie.</source>
        <translation>When you point at an icon such as the Recycle Bin and keep the mouse still for a moment, a balloon tells you what it is.</translation>
    </message>
    <message>
        <source>Pokazyj wyskakujące opisy pomocy</source>
        <translation>Show pop-up descriptions</translation>
    </message>
    <message>
        <source>Ogólne</source>
        <translation>General</translation>
    </message>
    <message>
        <source>Ukryj wszystkie ikony pulpitu</source>
        <translation>Hide all desktop icons</translation>
    </message>
    <message>
        <source>Usuń ikonę &quot;Kosz&quot; z pulpitu systemu Windows</source>
        <translation>Remove the &quot;Recycle Bin&quot; icon from the desktop</translation>
    </message>
    <message>
        <source>Usuń ikonę &quot;Moje dokumenty&quot; z pulpitu systemu Windows</source>
        <translation>Remove the &quot;My Documents&quot; icon from the desktop</translation>
    </message>
    <message>
        <source>Ukrywaj ikony gdy pulpit jest wyświetlany w trybie Active Desktop</source>
        <translation>Hide the icons when the desktop is shown as Active Desktop</translation>
    </message>
    <message>
        <source>Znak skrótu</source>
        <translation>Shortcut arrow</translation>
    </message>
    <message>
        <source>System Windows do ikony skrótu dodaj strzałkę. Odznacz tą opcję, aby ikona skrótu nie była prezentowana z tym znakiem.</source>
        <translation>Windows adds an arrow to the icon of a shortcut. Clear this option to show shortcut icons without it.</translation>
    </message>
    <message>
        <source>Do ikony skrótu zawsze dodawaj strzałkę</source>
        <translation>Always add an arrow to shortcut icons</translation>
    </message>
    <message>
        <source>Kosz systemowy</source>
        <translation>Recycle Bin</translation>
    </message>
    <message>
        <source>Tu możesz zmienić nazwę ikony kosza systemowego. Jeśli jeszcze nie wiesz co wpisać, skorzystaj z podpowiedzi klikając na nie prawym przycikiem myszy i wyierając odpowiednią opcję z menu.</source>
        <translation>Here you can rename the Recycle Bin icon. If you are short of ideas, right-click the suggestions and pick one from the menu.</translation>
    </message>
    <message>
        <source>Nazwa kosza systemowego</source>
        <translation>Name of the Recycle Bin</translation>
    </message>
    <message>
        <source>Zmień nazwę</source>
        <translation>Rename</translation>
    </message>
    <message>
        <source>Propozycje</source>
        <translation>Suggestions</translation>
    </message>
    <message>
        <source>Ikona kosza systemowego</source>
        <translation>Recycle Bin icon</translation>
    </message>
</context>
<context>
    <name>TfmKreatorAnimTapeta</name>
    <message>
        <source>Kreator animowanej tapety     </source>
        <translation>Animated Wallpaper Wizard     </translation>
    </message>
    <message>
        <source>Obraz kreatora animowanej tapety</source>
        <translation>Animated Wallpaper Wizard picture</translation>
    </message>
    <message>
        <source>Pomoc</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>&lt; Wstecz</source>
        <translation>&lt; Back</translation>
    </message>
    <message>
        <source>Dalej &gt;</source>
        <translation>Next &gt;</translation>
    </message>
    <message>
        <source>Anuluj</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>TfmMaszyny</name>
    <message>
        <source>Odśwież z dysku</source>
        <translation>Refresh from Disk</translation>
    </message>
    <message>
        <source>Maszyny</source>
        <translation>Machines</translation>
    </message>
    <message>
        <source>&amp;Maszyny, na których działa program:</source>
        <translation>&amp;Machines the program works on:</translation>
    </message>
    <message>
        <source>Maszyny, na których działa program:</source>
        <translation>Machines the program works on:</translation>
    </message>
    <message>
        <source>Lista maszyn</source>
        <translation>List of machines</translation>
    </message>
    <message>
        <source>Nazwa</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Źródło</source>
        <translation>Source</translation>
    </message>
    <message>
        <source>Odczytana</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>Zmiany do przekazania</source>
        <translation>Changes to hand back</translation>
    </message>
    <message>
        <source>Ostatnio przekazane</source>
        <translation>Last handed back</translation>
    </message>
    <message>
        <source>Postęp odczytu dysku</source>
        <translation>Progress of reading the disk</translation>
    </message>
    <message>
        <source>Anuluj</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Użyj</source>
        <translation>Use</translation>
    </message>
    <message>
        <source>Przekaż zmiany do Windows 98...</source>
        <translation>Hand the changes to Windows 98...</translation>
    </message>
    <message>
        <source>Usuń</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>Zamknij</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Nowa z dysku Windows 98...</source>
        <translation>New from Windows 98 Disk...</translation>
    </message>
</context>
<context>
    <name>TfmMenuStart</name>
    <message>
        <source>Pasek zadań i Menu Start</source>
        <translation>Taskbar and Start Menu</translation>
    </message>
    <message>
        <source>Ustawienia paska zadań i Menu Start</source>
        <translation>Taskbar and Start menu settings</translation>
    </message>
    <message>
        <source>Podgląd Menu Start</source>
        <translation>Start menu preview</translation>
    </message>
    <message>
        <source>Pasek boczny Menu Start</source>
        <translation>Start menu side banner</translation>
    </message>
    <message>
        <source>Podgląd pozycji Panel sterowania w Menu Start</source>
        <translation>Preview of the Control Panel entry in the Start menu</translation>
    </message>
    <message>
        <source>Podgląd pozycji Programy</source>
        <translation>Preview of the Programs entry</translation>
    </message>
    <message>
        <source>Podgląd pozycji Ulubione</source>
        <translation>Preview of the Favorites entry</translation>
    </message>
    <message>
        <source>Podgląd pozycji Dokumenty</source>
        <translation>Preview of the Documents entry</translation>
    </message>
    <message>
        <source>Podgląd pozycji Ustawienia</source>
        <translation>Preview of the Settings entry</translation>
    </message>
    <message>
        <source>Podgląd pozycji Znajdź</source>
        <translation>Preview of the Find entry</translation>
    </message>
    <message>
        <source>Podgląd polecenia Uruchom</source>
        <translation>Preview of the Run command</translation>
    </message>
    <message>
        <source>Podgląd polecenia Wyloguj</source>
        <translation>Preview of the Log Off command</translation>
    </message>
    <message>
        <source>Podgląd polecenia Zamknij</source>
        <translation>Preview of the Shut Down command</translation>
    </message>
    <message>
        <source>Separator</source>
        <translation>Separator</translation>
    </message>
    <message>
        <source>Polecenia Menu Start</source>
        <translation>Start menu commands</translation>
    </message>
    <message>
        <source>Polecenia</source>
        <translation>Commands</translation>
    </message>
    <message>
        <source>Ukryj podfoldery Menu Start</source>
        <translation>Hide Start menu subfolders</translation>
    </message>
    <message>
        <source>Ukryj Ulubione</source>
        <translation>Hide Favorites</translation>
    </message>
    <message>
        <source>Ukryj Dokumenty</source>
        <translation>Hide Documents</translation>
    </message>
    <message>
        <source>Ukryj polecenie Ustawienia</source>
        <translation>Hide the Settings command</translation>
    </message>
    <message>
        <source>Ukryj polecenie Znajdź</source>
        <translation>Hide the Find command</translation>
    </message>
    <message>
        <source>Ukryj polecenie Uruchom</source>
        <translation>Hide the Run command</translation>
    </message>
    <message>
        <source>Ukryj polecenie Wyloguj</source>
        <translation>Hide the Log Off command</translation>
    </message>
    <message>
        <source>Ukryj polecenie Zamknij</source>
        <translation>Hide the Shut Down command</translation>
    </message>
    <message>
        <source>UWAGA! Po zaznaczeniu jednej z opcji dostęp do niej będzie zablokowany więc i poruszanie się po systemie będzie utrudnione. Zalecane jest by te ustawienia były zmieniane przez zaawansowanych użytkowników.</source>
        <translation>WARNING! A checked option blocks access to that command, which makes the system harder to get around. These settings are best left to advanced users.</translation>
    </message>
    <message>
        <source>Pasek zadań</source>
        <translation>Taskbar</translation>
    </message>
    <message>
        <source>Wyłącz dostęp do właściwości paska zadań</source>
        <translation>Disable the Taskbar Properties</translation>
    </message>
    <message>
        <source>Błąd w polskiej wersji Windows</source>
        <translation>Polish Windows bug</translation>
    </message>
    <message>
        <source>Ta opcja usuwa błąd w polskiej wersji systemu Windows dotyczący podwójnego ładowania się zasobnika systemowego w wyniku czego ikonki na pasku zadań podwajają się. Aby usunąć ten błąd kliknij poniższy przycisk.</source>
        <translation>This fixes a bug of the Polish Windows: the system tray is loaded twice, so the taskbar icons show up twice. Click the button below to fix it.</translation>
    </message>
    <message>
        <source>Usuń błąd</source>
        <translation>Fix the bug</translation>
    </message>
    <message>
        <source>Panel Sterowania w Menu Start</source>
        <translation>Control Panel in the Start menu</translation>
    </message>
    <message>
        <source>Poniżej wpisz nazwę:</source>
        <translation>Type a name below:</translation>
    </message>
    <message>
        <source>Nazwa może być dowolna. Po jej wpisaniu kliknij przycisk &apos;Stwórz skrót do Panelu Sterowania w Menu Start&apos;.</source>
        <translation>Any name will do. Then click &apos;Create a Control Panel shortcut in the Start menu&apos;.</translation>
    </message>
    <message>
        <source>Następnie kliknij poniższy przycisk:</source>
        <translation>Then click the button below:</translation>
    </message>
    <message>
        <source>Stwórz skrót do Panelu Sterowania w Menu Start</source>
        <translation>Create a Control Panel shortcut in the Start menu</translation>
    </message>
    <message>
        <source>Autostart</source>
        <translation>StartUp</translation>
    </message>
    <message>
        <source>Poniżej znajdują się programy ładujące się podczas startu systemu:</source>
        <translation>These programs are loaded when the system starts:</translation>
    </message>
    <message>
        <source>Programy ładujące się podczas startu systemu</source>
        <translation>Programs loaded when the system starts</translation>
    </message>
    <message>
        <source>Usuń element Autostartu</source>
        <translation>Remove the StartUp entry</translation>
    </message>
    <message>
        <source>Menu kontekstowe</source>
        <translation>Shortcut menu</translation>
    </message>
    <message>
        <source>Jeśli wyłączysz tą opcję spowoduje to znaczne utrudnienie pracy w systemie Windows.</source>
        <translation>Turning this off makes working in Windows much harder.</translation>
    </message>
    <message>
        <source>Wyłącz menu kontekstowe (niezalecane)</source>
        <translation>Disable shortcut menus (not recommended)</translation>
    </message>
    <message>
        <source>Zainstalowane programy</source>
        <translation>Installed programs</translation>
    </message>
    <message>
        <source>Kliknij na poniższy przycisk aby otworzyć okno pozwalające na usunięcie/edycję pozycji na liście Dodaj/Usuń programy.</source>
        <translation>Click the button below to open a window where you can remove or edit the entries of the Add/Remove Programs list.</translation>
    </message>
    <message>
        <source>Lista zainstalowanych programów</source>
        <translation>Installed programs list</translation>
    </message>
    <message>
        <source>Opóźnienie rozwijania menu</source>
        <translation>Menu show delay</translation>
    </message>
    <message>
        <source>System opóźnia rozwijanie się kolejnych pod-menu. Domyślnie wartość ta ustawiona jest na około pół sekundy. Aby zmniejszyć ten czas, podaj odpowiednią wartość w polu poniżej.</source>
        <translation>The system waits before it opens each submenu: about half a second by default. To shorten the wait, enter a value in the field below.</translation>
    </message>
    <message>
        <source>Opóźnienie rozwijania menu w milisekundach</source>
        <translation>Menu show delay in milliseconds</translation>
    </message>
    <message>
        <source>milisekund</source>
        <translation>milliseconds</translation>
    </message>
    <message>
        <source>Zastosuj</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>Stwórz skrót do Panelu Sterowania
 w Menu Start</source>
        <translation>Create a Control Panel shortcut
 in the Start menu</translation>
    </message>
</context>
<context>
    <name>TfmNowaMaszyna</name>
    <message>
        <source>Nowa maszyna</source>
        <translation>New Machine</translation>
    </message>
    <message>
        <source>Dysk:</source>
        <translation>Disk:</translation>
    </message>
    <message>
        <source>Dysk Windows 98</source>
        <translation>Windows 98 disk</translation>
    </message>
    <message>
        <source>&amp;Partycja:</source>
        <translation>&amp;Partition:</translation>
    </message>
    <message>
        <source>Partycja:</source>
        <translation>Partition:</translation>
    </message>
    <message>
        <source>Partycja</source>
        <translation>Partition</translation>
    </message>
    <message>
        <source>Profil &amp;użytkownika:</source>
        <translation>&amp;User profile:</translation>
    </message>
    <message>
        <source>Profil użytkownika:</source>
        <translation>User profile:</translation>
    </message>
    <message>
        <source>Profil użytkownika</source>
        <translation>User profile</translation>
    </message>
    <message>
        <source>&amp;Nazwa maszyny:</source>
        <translation>Machine &amp;name:</translation>
    </message>
    <message>
        <source>Nazwa maszyny:</source>
        <translation>Machine name:</translation>
    </message>
    <message>
        <source>Nazwa maszyny</source>
        <translation>Machine name</translation>
    </message>
    <message>
        <source>Utwórz</source>
        <translation>Create</translation>
    </message>
    <message>
        <source>Utwórz maszynę</source>
        <translation>Create the machine</translation>
    </message>
    <message>
        <source>Anuluj</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>TfmProgramy</name>
    <message>
        <source>Zainstalowane programy</source>
        <translation>Installed programs</translation>
    </message>
    <message>
        <source>Lista zainstalowanych programów</source>
        <translation>Installed programs list</translation>
    </message>
    <message>
        <source>Kliknij pozycję na liście, a następnie w poniższym polu edycyjnym przypisz jej nową ścieżkę dostępu.</source>
        <translation>Click an entry in the list, then give it a new path in the field below.</translation>
    </message>
    <message>
        <source>Nazwa programu:</source>
        <translation>Program name:</translation>
    </message>
    <message>
        <source>Zapisz</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Ścieżka De-Instalatora</source>
        <translation>Uninstaller path</translation>
    </message>
    <message>
        <source>Przeglądaj...</source>
        <translation>Browse...</translation>
    </message>
    <message>
        <source>Usuń</source>
        <translation>Remove</translation>
    </message>
</context>
<context>
    <name>TfmPulpit</name>
    <message>
        <source>Pulpit</source>
        <translation>Desktop</translation>
    </message>
    <message>
        <source>Szybki podgląd bitmap</source>
        <translation>Quick bitmap preview</translation>
    </message>
    <message>
        <source>Dzięki tej opcji zawartość plików bitmapowych widniała będzie jako ikona tego pliku. Włączenie tej opcji spowolni otwieranie się folderów z zawartością plików bitmapowych.</source>
        <translation>With this option a bitmap file shows its own picture as its icon. It slows down opening folders that hold bitmaps.</translation>
    </message>
    <message>
        <source>Możesz włączyć i wyłączyć ten tryb:</source>
        <translation>You can turn this mode on and off:</translation>
    </message>
    <message>
        <source>Włącz</source>
        <translation>On</translation>
    </message>
    <message>
        <source>Wyłącz</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>Animowana tapeta</source>
        <translation>Animated wallpaper</translation>
    </message>
    <message>
        <source>Program Morvin w obecnej wersji umożliwia użytkownikowi zastosowanie animowanego tła pulpitu. Aby stworzyć taką tapetę, kliknij poniższy przycisk. Kreator Animowanej Tapety przeprowadzi Cię przez wszystkie kroki.</source>
        <translation>This version of Morvin lets you put an animated background on your desktop. To make one, click the button below: the Animated Wallpaper Wizard takes you through every step.</translation>
    </message>
    <message>
        <source>Uruchom kreatora</source>
        <translation>Start the wizard</translation>
    </message>
    <message>
        <source>Ogólne</source>
        <translation>General</translation>
    </message>
    <message>
        <source>Wyłącz zapisywanie ustawień przy zamykaniu systemu</source>
        <translation>Do not save settings at shutdown</translation>
    </message>
    <message>
        <source>Notka: Gdy zaznaczysz to pole system Windows nie będzie zapamiętywał: położenia ikon na pulpicie, otwartych okien i ich położenia na pulpicie, ustawienia i rozmiaru paska zadań.</source>
        <translation>Note: when this box is checked, Windows does not remember the positions of desktop icons, the open windows and their places, or the position and size of the taskbar.</translation>
    </message>
    <message>
        <source>Wyświetlaj wersję systemu Windows na pulpicie</source>
        <translation>Show the Windows version on the desktop</translation>
    </message>
</context>
<context>
    <name>TfmSet</name>
    <message>
        <source>Ustawienia programu</source>
        <translation>Program settings</translation>
    </message>
    <message>
        <source>Kolor okien</source>
        <translation>Window color</translation>
    </message>
    <message>
        <source>Zmień kolor</source>
        <translation>Change color</translation>
    </message>
    <message>
        <source>Kolor domyślny</source>
        <translation>Default color</translation>
    </message>
    <message>
        <source>Próbka koloru okien (dwukrotne kliknięcie zmienia kolor)</source>
        <translation>Window color sample (double-click to change it)</translation>
    </message>
    <message>
        <source>Kliknij dwukrotnie, aby zmienić kolor</source>
        <translation>Double-click to change the color</translation>
    </message>
    <message>
        <source>Tapeta</source>
        <translation>Wallpaper</translation>
    </message>
    <message>
        <source>Ścieżka tapety</source>
        <translation>Wallpaper path</translation>
    </message>
    <message>
        <source>Przeglądaj</source>
        <translation>Browse</translation>
    </message>
    <message>
        <source>Bez tapety (ukryj tapetę z pulpitu programu Morvin)</source>
        <translation>No wallpaper (hide it from Morvin&apos;s desktop)</translation>
    </message>
    <message>
        <source>Bez tapety (usuń tapetę z pulpitu programu Morvin)</source>
        <translation>No wallpaper (remove it from Morvin&apos;s desktop)</translation>
    </message>
    <message>
        <source>Zintegruj się z powłoką systemową</source>
        <translation>Integrate with the system shell</translation>
    </message>
    <message>
        <source>Pokazuj ikony szybkiego dostępu na pulpicie programu</source>
        <translation>Show the quick-access icons on the program&apos;s desktop</translation>
    </message>
    <message>
        <source>Język programu:</source>
        <translation>Program language:</translation>
    </message>
    <message>
        <source>Język programu</source>
        <translation>Program language</translation>
    </message>
    <message>
        <source>Informacje:</source>
        <translation>Information:</translation>
    </message>
    <message>
        <source>Autor:</source>
        <translation>Author:</translation>
    </message>
    <message>
        <source>Zespół Morvin NG</source>
        <translation>The Morvin NG team</translation>
    </message>
    <message>
        <source>E-mail:</source>
        <translation>E-mail:</translation>
    </message>
    <message>
        <source>www:</source>
        <translation>www:</translation>
    </message>
    <message>
        <source>Historia zmian...</source>
        <translation>Change History...</translation>
    </message>
    <message>
        <source>Maszyny...</source>
        <translation>Machines...</translation>
    </message>
</context>
<context>
    <name>TfmSztuczki</name>
    <message>
        <source>Sztuczki w Windows - Praktyczny poradnik</source>
        <translation>Windows Tricks - A Practical Guide</translation>
    </message>
    <message>
        <source>Pewnie z przyjemnością dowecie się czegoś nowego. Zapraszam do lektury dołączonej do programu.</source>
        <translation>You will surely enjoy learning something new. Have a read of the guide that comes with the program.</translation>
    </message>
    <message>
        <source>Sztuczki w Windows</source>
        <translation>Windows Tricks</translation>
    </message>
    <message>
        <source>Wybierz artykuł</source>
        <translation>Choose an article</translation>
    </message>
    <message>
        <source>Czytaj artykuł</source>
        <translation>Read article</translation>
    </message>
    <message>
        <source>Drukuj</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>Zamknij</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>TfmWeb</name>
    <message>
        <source>Sieć</source>
        <translation>Network</translation>
    </message>
    <message>
        <source>Ogólne</source>
        <translation>General</translation>
    </message>
    <message>
        <source>Ramka</source>
        <translation>Frame</translation>
    </message>
    <message>
        <source>Wyłącz dostęp do zakładki Identyfikacja</source>
        <translation>Disable the Identification tab</translation>
    </message>
    <message>
        <source>Wyłącz dostęp do zakładki Kontrola dostępu</source>
        <translation>Disable the Access Control tab</translation>
    </message>
    <message>
        <source>Wyłącz kontrolę nad współużytkowaniem Plików</source>
        <translation>Disable file sharing controls</translation>
    </message>
    <message>
        <source>Wyłącz kontrolę nad współużytkowaniem Drukarek</source>
        <translation>Disable printer sharing controls</translation>
    </message>
    <message>
        <source>Wyłącz dostęp do właściwości sieci</source>
        <translation>Disable the Network Properties</translation>
    </message>
    <message>
        <source>Usuń folder Cała sieć</source>
        <translation>Hide the Entire Network folder</translation>
    </message>
    <message>
        <source>Usuń składniki grup roboczych w Otoczeniu sieciowym</source>
        <translation>Hide workgroup contents in Network Neighborhood</translation>
    </message>
    <message>
        <source>Usuń folder Otoczenie sieciowe</source>
        <translation>Hide Network Neighborhood</translation>
    </message>
    <message>
        <source>Obrazek: komputery połączone w sieć</source>
        <translation>Picture: computers connected in a network</translation>
    </message>
    <message>
        <source>Hasła</source>
        <translation>Passwords</translation>
    </message>
    <message>
        <source>Ta opcja włącza ukrywanie haseł poprzez zastąpienie ich gwiazdkami.</source>
        <translation>This option hides share passwords behind asterisks.</translation>
    </message>
    <message>
        <source>Włącz ukrywanie haseł</source>
        <translation>Hide share passwords</translation>
    </message>
    <message>
        <source>Tu możesz wyłączyć buforowanie haseł.</source>
        <translation>Here you can turn off password caching.</translation>
    </message>
    <message>
        <source>Wyłącz buforowanie haseł</source>
        <translation>Disable password caching</translation>
    </message>
    <message>
        <source>Wybierz tą opcję by korzystać tylko z haseł alfanumerycznych</source>
        <translation>Choose this option to allow only alphanumeric passwords</translation>
    </message>
    <message>
        <source>Tryb alfanumeryczny</source>
        <translation>Alphanumeric only</translation>
    </message>
    <message>
        <source>Połączenie</source>
        <translation>Dial-Up Networking</translation>
    </message>
    <message>
        <source>Wyłączenie możliwości odbierania telefonu</source>
        <translation>Dial-Up Networking does not answer incoming calls</translation>
    </message>
    <message>
        <source>Nie odbieraj</source>
        <translation>Disable dial-in</translation>
    </message>
    <message>
        <source>Udostępnianie</source>
        <translation>Sharing</translation>
    </message>
    <message>
        <source>Blokada udostępniania użytkownikom drukarek</source>
        <translation>Prevent users from sharing printers</translation>
    </message>
    <message>
        <source>Nie udostępniaj</source>
        <translation>Do not share</translation>
    </message>
</context>
<context>
    <name>TfmWindows</name>
    <message>
        <source>Windows</source>
        <translation>Windows</translation>
    </message>
    <message>
        <source>Ustawienia systemu Windows</source>
        <translation>Windows settings</translation>
    </message>
    <message>
        <source>Właściwości ekranu</source>
        <translation>Display Properties</translation>
    </message>
    <message>
        <source>Zakładki Właściwości ekranu</source>
        <translation>Display Properties tabs</translation>
    </message>
    <message>
        <source>Ukryj zakładkę Tło</source>
        <translation>Hide the Background tab</translation>
    </message>
    <message>
        <source>Ukryj zakładkę Wygaszacz ekranu</source>
        <translation>Hide the Screen Saver tab</translation>
    </message>
    <message>
        <source>Ukryj zakładkę Wygląd</source>
        <translation>Hide the Appearance tab</translation>
    </message>
    <message>
        <source>Ukryj zakładki Ustawienia, Sieć Web i Efekty</source>
        <translation>Hide the Settings, Web and Effects tabs</translation>
    </message>
    <message>
        <source>Wyłącz dostęp do Właściwości ekranu</source>
        <translation>Disable Display Properties</translation>
    </message>
    <message>
        <source>Hasła i administracja</source>
        <translation>Passwords and administration</translation>
    </message>
    <message>
        <source>Zakładki Haseł</source>
        <translation>Passwords tabs</translation>
    </message>
    <message>
        <source>Ukryj zakładkę Zmień hasło</source>
        <translation>Hide the Change Passwords tab</translation>
    </message>
    <message>
        <source>Ukryj zakładkę Zdalne administrowanie</source>
        <translation>Hide the Remote Administration tab</translation>
    </message>
    <message>
        <source>Wyłącz dostęp do Haseł</source>
        <translation>Disable Passwords</translation>
    </message>
    <message>
        <source>Drukarki</source>
        <translation>Printers</translation>
    </message>
    <message>
        <source>Ukryj zakładki Ogólne i Szczegóły w Właściwościach drukarek</source>
        <translation>Hide the General and Details tabs of Printer Properties</translation>
    </message>
    <message>
        <source>Brak możliwości usuwania drukarek</source>
        <translation>Do not allow deleting printers</translation>
    </message>
    <message>
        <source>Brak możliwości dodawania drukarek</source>
        <translation>Do not allow adding printers</translation>
    </message>
    <message>
        <source>Wyświetlanie obrazu w systemie Windows</source>
        <translation>Windows display mode</translation>
    </message>
    <message>
        <source>Zaleca się by te ustawienia były modyfikowane tylko przez doświadczonych użytkowników lub administratorów systemu.</source>
        <translation>These settings are best changed only by experienced users or system administrators.</translation>
    </message>
    <message>
        <source>Rozdzielczość:</source>
        <translation>Resolution:</translation>
    </message>
    <message>
        <source>Rozdzielczość: szerokość</source>
        <translation>Resolution: width</translation>
    </message>
    <message>
        <source>na</source>
        <translation>by</translation>
    </message>
    <message>
        <source>Rozdzielczość: wysokość</source>
        <translation>Resolution: height</translation>
    </message>
    <message>
        <source>Przykład: 800 na 600</source>
        <translation>Example: 800 by 600</translation>
    </message>
    <message>
        <source>Głębia kolorów:</source>
        <translation>Color depth:</translation>
    </message>
    <message>
        <source>Przykład: 16</source>
        <translation>Example: 16</translation>
    </message>
    <message>
        <source>Szybkość odświeżania:</source>
        <translation>Refresh rate:</translation>
    </message>
    <message>
        <source>Przykład: 85</source>
        <translation>Example: 85</translation>
    </message>
    <message>
        <source>Ustaw konfigurację według powyższych parametrów</source>
        <translation>Apply the settings above</translation>
    </message>
    <message>
        <source>Profile użytkownika</source>
        <translation>User profiles</translation>
    </message>
    <message>
        <source>Ta opcja wyłącza dostęp do Profili użytkownika w panelu sterowania oraz zakładki Profile użytkownika w arkuszu Hasła</source>
        <translation>This option disables User Profiles in the Control Panel and the User Profiles tab of Passwords Properties</translation>
    </message>
    <message>
        <source>Wyłącz dostęp do Profili użytkownika</source>
        <translation>Disable User Profiles</translation>
    </message>
    <message>
        <source>Właściwości systemu</source>
        <translation>System Properties</translation>
    </message>
    <message>
        <source>Wyłącz dostęp do Menadżera urządzeń</source>
        <translation>Disable the Device Manager</translation>
    </message>
    <message>
        <source>Wyłącz dostęp do Profili sprzętu</source>
        <translation>Disable Hardware Profiles</translation>
    </message>
    <message>
        <source>Wyłącz dostęp do właściwości Systemu plików</source>
        <translation>Disable the File System button</translation>
    </message>
    <message>
        <source>Wyłącz dostęp do właściwości Pamięci wirtualnej</source>
        <translation>Disable the Virtual Memory button</translation>
    </message>
    <message>
        <source>Rejestr Windows</source>
        <translation>Windows registry</translation>
    </message>
    <message>
        <source>Wyłącz dostęp do Rejestru Windows (niezalecane)</source>
        <translation>Disable registry editing tools (not recommended)</translation>
    </message>
    <message>
        <source>Komunikat</source>
        <translation>Logon notice</translation>
    </message>
    <message>
        <source>Uaktywnienie tej spcji spowoduje wyświetlanie przez system Windows komunikatu przy starcie.</source>
        <translation>With this option Windows shows a notice at startup.</translation>
    </message>
    <message>
        <source>Temat:</source>
        <translation>Caption:</translation>
    </message>
    <message>
        <source>Tekst:</source>
        <translation>Text:</translation>
    </message>
    <message>
        <source>Generuj</source>
        <translation>Generate</translation>
    </message>
    <message>
        <source>Zapisz</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Wyczyść</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>Migotanie kursora</source>
        <translation>Cursor blink</translation>
    </message>
    <message>
        <source>Możliwe jest ustawienie częstotliwości migotania kursora. Im większa wartość tym mniejsza częstotliwość migania kursora.</source>
        <translation>You can set how fast the cursor blinks. The larger the value, the slower it blinks.</translation>
    </message>
    <message>
        <source>Co</source>
        <translation>Every</translation>
    </message>
    <message>
        <source>Co ile milisekund</source>
        <translation>Blink interval in milliseconds</translation>
    </message>
    <message>
        <source>milisekund</source>
        <translation>milliseconds</translation>
    </message>
    <message>
        <source>Wyłącz migotanie kursora</source>
        <translation>Turn off cursor blinking</translation>
    </message>
</context>
<context>
    <name>morvin::SourceNames</name>
    <message>
        <source>Odczyt z dysku</source>
        <translation>Reading the disk</translation>
    </message>
</context>
<context>
    <name>morvin::StorablePath</name>
    <message>
        <source>Ścieżka „%1” zawiera znaki, których system nie zapisze w rejestrze. Nic nie zostało zapisane: wybierz plik lub folder, w którego ścieżce są tylko polskie i zachodnie litery.</source>
        <translation>The path “%1” holds characters the system cannot store in the registry. Nothing was saved: choose a file or folder whose path has only Polish and Western letters.</translation>
    </message>
</context>
<context>
    <name>morvin::TFrKodZnak</name>
    <message>
        <source>Wybierz kodowanie</source>
        <translation>Choose an encoding</translation>
    </message>
    <message>
        <source>Z poniższej listy wybierz standard kodowania znaków, który zostanie użyty do zbudowania animowanej tapety. Ten system jest polski: jeśli tytuł lub ścieżka animacji mają polskie litery, wpisz ISO-8859-2.</source>
        <translation>Choose from the list below the character encoding used to build the animated wallpaper. This system is Polish: if the title or the animation&apos;s path has Polish letters, type ISO-8859-2.</translation>
    </message>
    <message>
        <source>Z poniższej listy wybierz standard kodowania znaków, który zostanie użyty do zbudowania animowanej tapety. Zalecany jest windows-1252, strona kodowa tego systemu.</source>
        <translation>Choose from the list below the character encoding used to build the animated wallpaper. windows-1252, the code page of this system, is recommended.</translation>
    </message>
</context>
<context>
    <name>morvin::TFrOpcjeAnim</name>
    <message>
        <source>Wybierz jakość</source>
        <translation>Choose the quality</translation>
    </message>
</context>
<context>
    <name>morvin::TFrPlikAnim</name>
    <message>
        <source>Wskaż plik, który zawiera animację...</source>
        <translation>Point to the file with the animation...</translation>
    </message>
    <message>
        <source>Pliki z animacją Flash (*.SWF)</source>
        <translation>Flash animation files (*.SWF)</translation>
    </message>
</context>
<context>
    <name>morvin::TFrSzerWys</name>
    <message>
        <source>Wybierz wyrównanie</source>
        <translation>Choose the alignment</translation>
    </message>
</context>
<context>
    <name>morvin::TMainForm</name>
    <message>
        <source>Czy napewno chcesz zakończyć program ?</source>
        <translation>Are you sure you want to exit the program?</translation>
    </message>
</context>
<context>
    <name>morvin::TfmHistoria</name>
    <message>
        <source> (zapis przerwany)</source>
        <translation> (interrupted)</translation>
    </message>
    <message>
        <source>wszystkie</source>
        <translation>all</translation>
    </message>
    <message>
        <source>%1 zmieniono od tej pory: jest teraz %2, a nie %3.

Czy mimo to przywrócić %4?</source>
        <translation>%1 has changed since then: it is now %2, not %3.

Restore %4 anyway?</translation>
    </message>
    <message>
        <source>Czy cofnąć wszystkie zmiany? Rejestr i plik MsDos.sys wrócą do stanu, w jakim była maszyna na początku.</source>
        <translation>Undo all changes? The registry and MsDos.sys will return to the state the machine started in.</translation>
    </message>
    <message>
        <source>Nie wszystkie zmiany udało się cofnąć:</source>
        <translation>Some changes could not be undone:</translation>
    </message>
    <message>
        <source>Zapisz zmiany jako plik .reg</source>
        <translation>Save changes as a .reg file</translation>
    </message>
    <message>
        <source>Pliki rejestru (*.reg)</source>
        <translation>Registry files (*.reg)</translation>
    </message>
    <message>
        <source>zmiany.reg</source>
        <translation>changes.reg</translation>
    </message>
    <message>
        <source>Nie można zapisać pliku %1</source>
        <translation>Cannot save the file %1</translation>
    </message>
    <message>
        <source>Nie można przywrócić %1: %2</source>
        <translation>Cannot restore %1: %2</translation>
    </message>
    <message>
        <source>Nie udało się cofnąć zmian: %1</source>
        <translation>The changes could not be undone: %1</translation>
    </message>
    <message>
        <source>klucz lub wartość nie istnieje</source>
        <translation>the key or value does not exist</translation>
    </message>
    <message>
        <source>odmowa dostępu</source>
        <translation>access denied</translation>
    </message>
    <message>
        <source>nieprawidłowy uchwyt klucza</source>
        <translation>invalid key handle</translation>
    </message>
    <message>
        <source>za mało pamięci</source>
        <translation>not enough memory</translation>
    </message>
    <message>
        <source>nieprawidłowa nazwa (za długa lub błędna)</source>
        <translation>invalid name (too long or malformed)</translation>
    </message>
    <message>
        <source>plik rejestru jest uszkodzony</source>
        <translation>the registry file is damaged</translation>
    </message>
    <message>
        <source>nie można odczytać pliku rejestru</source>
        <translation>the registry file cannot be read</translation>
    </message>
    <message>
        <source>nie można zapisać pliku rejestru</source>
        <translation>the registry file cannot be written</translation>
    </message>
    <message>
        <source>klucz został usunięty</source>
        <translation>the key has been deleted</translation>
    </message>
    <message>
        <source>błąd %1</source>
        <translation>error %1</translation>
    </message>
    <message>
        <source>Nagłówki kolumn listy zmian</source>
        <translation>Column headers of the list of changes</translation>
    </message>
    <message>
        <source>(brak)</source>
        <translation>(none)</translation>
    </message>
    <message>
        <source>(klucz z zawartością)</source>
        <translation>(key with content)</translation>
    </message>
    <message>
        <source>(klucz)</source>
        <translation>(key)</translation>
    </message>
    <message>
        <source>(puste)</source>
        <translation>(empty)</translation>
    </message>
    <message>
        <source>Ten rejestr nie prowadzi historii zmian</source>
        <translation>This registry keeps no history of changes</translation>
    </message>
    <message>
        <source>Zapomnieć całą historię zmian? Zmiany zostaną w rejestrze, ale nie będzie można ich już cofnąć.</source>
        <translation>Forget the whole history of changes? The changes stay in the registry, but can no longer be undone.</translation>
    </message>
    <message>
        <source>Zapomnieć zmiany starsze niż zaznaczona? Zostaną w rejestrze, ale nie będzie można ich już cofnąć.</source>
        <translation>Forget the changes older than the selected one? They stay in the registry, but can no longer be undone.</translation>
    </message>
</context>
<context>
    <name>morvin::TfmIkony</name>
    <message>
        <source>Propozycje nazw kosza</source>
        <translation>Suggested Recycle Bin names</translation>
    </message>
    <message>
        <source>Wprowadź tekst</source>
        <translation>Enter text</translation>
    </message>
    <message>
        <source>Wprowadź nowy tekst opisu pomocy</source>
        <translation>Enter the new pop-up description</translation>
    </message>
</context>
<context>
    <name>morvin::TfmKreatorAnimTapeta</name>
    <message>
        <source>Kreator animowanej tapety   </source>
        <translation>Animated Wallpaper Wizard   </translation>
    </message>
    <message>
        <source>[%1 z 5]</source>
        <translation>[%1 of 5]</translation>
    </message>
    <message>
        <source>Zakończ</source>
        <translation>Finish</translation>
    </message>
    <message>
        <source>Dalej &gt;</source>
        <translation>Next &gt;</translation>
    </message>
</context>
<context>
    <name>morvin::TfmMaszyny</name>
    <message>
        <source> (w użyciu)</source>
        <translation> (in use)</translation>
    </message>
    <message>
        <source>Domyślna</source>
        <translation>Default</translation>
    </message>
    <message>
        <source>Dysk Windows 98</source>
        <translation>Windows 98 disk</translation>
    </message>
    <message>
        <source>Folder z dyskiem Windows 98</source>
        <translation>Folder holding a Windows 98 drive</translation>
    </message>
    <message>
        <source>Inne zmiany</source>
        <translation>Other changes</translation>
    </message>
    <message>
        <source>Na dysk %1 zostanie przekazane:

%2

Przekazać?</source>
        <translation>This goes to the disk %1:

%2

Hand it over?</translation>
    </message>
    <message>
        <source>Nagłówki kolumn listy maszyn</source>
        <translation>Column headers of the list of machines</translation>
    </message>
    <message>
        <source>Nie ma nic do przekazania.</source>
        <translation>There is nothing to hand back.</translation>
    </message>
    <message>
        <source>, partycja %1</source>
        <translation>, partition %1</translation>
    </message>
    <message>
        <source>Nie można odczytać dysku %1:
%2</source>
        <translation>Cannot read the disk %1:
%2</translation>
    </message>
    <message>
        <source>Nie powstała maszyna %1:
%2</source>
        <translation>The machine %1 was not made:
%2</translation>
    </message>
    <message>
        <source>Obrazy dysków (*.vdi *.vmdk *.qcow2 *.vhd *.img *.raw)</source>
        <translation>Disk images (*.vdi *.vmdk *.qcow2 *.vhd *.img *.raw)</translation>
    </message>
    <message>
        <source>Pliki zapisane na dysku:</source>
        <translation>Files written to the disk:</translation>
    </message>
    <message>
        <source>Usunąć maszynę %1? Dysk %2 zostanie taki, jaki jest.</source>
        <translation>Remove the machine %1? The disk %2 stays as it is.</translation>
    </message>
    <message>
        <source>Wszystkie pliki (*.*)</source>
        <translation>All files (*.*)</translation>
    </message>
    <message>
        <source>Odczytano rejestr z dysku: %1 wartości wzięto z Windows 98, %2 zmian tej maszyny zostaje do przekazania.</source>
        <translation>The disk&apos;s registry was read: %1 values were taken from Windows 98, and %2 changes made on this machine wait to be handed back.</translation>
    </message>
    <message>
        <source>Rejestr na dysku jest taki, jak przy ostatnim odczycie.</source>
        <translation>The registry on the disk is as it was when last read.</translation>
    </message>
    <message>
        <source>Od ostatniego przekazania te wartości zmieniono i w Windows 98, i w tej maszynie:

%1

Zachować stan tej maszyny?</source>
        <translation>Since the last hand-back, these values were changed both in Windows 98 and on this machine:

%1

Keep this machine&apos;s values?</translation>
    </message>
    <message>
        <source>Windows 98 zmienił od ostatniego odczytu rejestr lub pliki na dysku: przekazanie najpierw odczyta rejestr z dysku i zapyta o to, co zmieniono po obu stronach.</source>
        <translation>Windows 98 has changed its registry or files on the disk since they were last read: the hand-back first reads the registry from the disk and asks about whatever was changed on both sides.</translation>
    </message>
    <message>
        <source>Wyłącz maszynę wirtualną: dysk %1 jest używany przez program %2</source>
        <translation>Turn off the virtual machine: the disk %1 is in use by %2</translation>
    </message>
    <message>
        <source>Zmiany są na dysku. Przy następnym uruchomieniu Windows 98 wpisze je do rejestru z pliku C:\MORVINNG.REG (plik MORVINNG.BAT w folderze Autostart), po czym usunie oba pliki.</source>
        <translation>The changes are on the disk. At its next start Windows 98 enters them into its registry from C:\MORVINNG.REG (MORVINNG.BAT in the Startup folder) and then deletes both files.</translation>
    </message>
    <message>
        <source>własna maszyna programu</source>
        <translation>the program&apos;s own machine</translation>
    </message>
    <message>
        <source>Ten rejestr nie prowadzi historii zmian</source>
        <translation>This registry keeps no history of changes</translation>
    </message>
    <message>
        <source>Obraz dysku...</source>
        <translation>Disk Image...</translation>
    </message>
    <message>
        <source>Folder z dyskiem C:...</source>
        <translation>Folder Holding Drive C:...</translation>
    </message>
</context>
<context>
    <name>morvin::TfmMenuStart</name>
    <message>
        <source>Czy napewno chcesz usunąć ten element Autostartu?</source>
        <translation>Are you sure you want to remove this StartUp entry?</translation>
    </message>
</context>
<context>
    <name>morvin::TfmNowaMaszyna</name>
    <message>
        <source>(domyślny)</source>
        <translation>(default)</translation>
    </message>
    <message>
        <source>Partycja %1: %2 MB, FAT%3</source>
        <translation>Partition %1: %2 MB, FAT%3</translation>
    </message>
    <message>
        <source> (bez Windows)</source>
        <translation> (no Windows)</translation>
    </message>
    <message>
        <source>„%1” nie może być nazwą maszyny</source>
        <translation>“%1” cannot be the name of a machine</translation>
    </message>
    <message>
        <source>Maszyna %1 już jest</source>
        <translation>There is a machine %1 already</translation>
    </message>
</context>
<context>
    <name>morvin::TfmProgramy</name>
    <message>
        <source>Zaznacz pozycję</source>
        <translation>Select an entry</translation>
    </message>
    <message>
        <source>Musisz zaznaczyć pozycję aby móc ją edytować!</source>
        <translation>You have to select an entry before you can edit it!</translation>
    </message>
    <message>
        <source>Wszystkie pliki (*.*)</source>
        <translation>All files (*.*)</translation>
    </message>
    <message>
        <source>Programy (*.exe)</source>
        <translation>Programs (*.exe)</translation>
    </message>
    <message>
        <source>Poszukiwanie programu deinstalacyjnego</source>
        <translation>Looking for the uninstaller</translation>
    </message>
</context>
<context>
    <name>morvin::TfmSet</name>
    <message>
        <source>Wszystkie obrazy (*.bmp *.ico *.wmf *.emf *.jpg *.jpeg)</source>
        <translation>All pictures (*.bmp *.ico *.wmf *.emf *.jpg *.jpeg)</translation>
    </message>
    <message>
        <source>Mapy bitowe (*.bmp)</source>
        <translation>Bitmaps (*.bmp)</translation>
    </message>
    <message>
        <source>Ikony (*.ico)</source>
        <translation>Icons (*.ico)</translation>
    </message>
    <message>
        <source>Metapliki (*.wmf)</source>
        <translation>Metafiles (*.wmf)</translation>
    </message>
    <message>
        <source>Rozszerzone metapliki (*.emf)</source>
        <translation>Enhanced metafiles (*.emf)</translation>
    </message>
    <message>
        <source>Obrazy JPEG (*.jpg *.jpeg)</source>
        <translation>JPEG images (*.jpg *.jpeg)</translation>
    </message>
    <message>
        <source>Wybierz tapetę</source>
        <translation>Choose a wallpaper</translation>
    </message>
</context>
<context>
    <name>morvin::TfmSztuczki</name>
    <message>
        <source>Wybierz artykuł</source>
        <translation>Choose an article</translation>
    </message>
</context>
<context>
    <name>morvin::TfmWindows</name>
    <message>
        <source>Wprowadzono rozdzielczość większą niż 1024x768. Czy napewno chcesz zmienić rozdzielczość na %1x%2 ?</source>
        <translation>The resolution entered is larger than 1024x768. Are you sure you want to change the resolution to %1x%2?</translation>
    </message>
</context>
</TS>
