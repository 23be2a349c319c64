#include "options/option_table.h"

#include <algorithm>
#include <stdexcept>
#include <unordered_map>

namespace kwetro {
namespace {

// The texts of the table are written in UTF-8 and converted to Windows-1251
// when the program is compiled (CP below), so that building the table at
// start only joins bytes: converting its 155 titles at run time cost more
// than writing both scripts.

// A text of the table in Windows-1251.
struct Text {
  std::string_view bytes;
};

template <std::size_t N>
struct Converted {
  char bytes[N] = {};
  std::size_t size = 0;
};

// ASCII and the Russian letters (U+0410..U+044F, two bytes each in UTF-8),
// which is all the table holds. Any other character is not a constant
// expression here, and stops the compilation at its text.
template <std::size_t N>
constexpr Converted<N> ToCp1251(const char (&utf8)[N]) {
  Converted<N> out;
  for (std::size_t i = 0; i + 1 < N;) {  // N counts the closing zero
    const auto lead = static_cast<unsigned char>(utf8[i]);
    if (lead < 0x80) {
      out.bytes[out.size++] = static_cast<char>(lead);
      ++i;
      continue;
    }
    const auto next = static_cast<unsigned char>(utf8[i + 1]);
    const unsigned letter = (((lead & 0x1Fu) << 6) | (next & 0x3Fu)) - 0x410u;
    if ((lead & 0xE0) != 0xC0 || (next & 0xC0) != 0x80 || letter >= 0x40)
      throw "a character other than ASCII or a Russian letter";
    out.bytes[out.size++] = static_cast<char>(0xC0 + letter);
    i += 2;
  }
  return out;
}

#define CP(utf8)                                                    \
  ([] {                                                             \
    static constexpr auto converted = ToCp1251(utf8);               \
    return Text{std::string_view(converted.bytes, converted.size)}; \
  }())

std::string Join(std::string_view a, std::string_view b, std::string_view c = {}) {
  std::string out(a.size() + b.size() + c.size(), '\0');
  char* p = out.data();
  p = std::copy(a.begin(), a.end(), p);
  p = std::copy(b.begin(), b.end(), p);
  std::copy(c.begin(), c.end(), p);
  return out;
}

OptionDef Make(const char* name, std::string unchecked, std::string checked, std::string grayed) {
  OptionDef def;
  def.name = name;
  def.captions = {std::move(unchecked), std::move(checked), std::move(grayed)};
  return def;
}

// Title followed by the state's suffix. A few captions carry one blank after
// the closing parenthesis, and one option misspells the skip suffix; both
// are part of what administrators have in their existing scripts.
OptionDef Standard(const char* name, Text title, const char* tail = "",
                   Text grayedSuffix = CP(" - (Пропустить)")) {
  const std::string_view t = title.bytes;
  return Make(name, Join(t, CP(" - (Нет)").bytes, tail), Join(t, CP(" - (Да)").bytes, tail),
              Join(t, grayedSuffix.bytes, tail));
}

OptionDef OwnThree(const char* name, Text checked, Text unchecked, Text grayed) {
  return Make(name, std::string(unchecked.bytes), std::string(checked.bytes),
              std::string(grayed.bytes));
}

// Captions that only know "checked" or "not checked": grayed reads as unchecked.
OptionDef TwoWay(const char* name, std::string checked, std::string notChecked) {
  std::string grayed = notChecked;
  return Make(name, std::move(notChecked), std::move(checked), std::move(grayed));
}

OptionDef TwoWay(const char* name, Text checked, Text notChecked) {
  return TwoWay(name, std::string(checked.bytes), std::string(notChecked.bytes));
}

std::string Quoted(Text item) { return Join("\"", item.bytes, "\""); }

// A Start-menu item: shown as a link, not shown, or shown as a menu.
OptionDef StartItem(const char* name, Text item) {
  const std::string q = Quoted(item);
  return Make(name, Join(q, CP(" - не отображать").bytes),
              Join(q, CP(" - отображать как ссылку").bytes),
              Join(q, CP(" - отображать как меню").bytes));
}

OptionDef StartItemTwoWay(const char* name, Text item) {
  const std::string q = Quoted(item);
  return TwoWay(name, Join(q, CP(" - отображать").bytes), Join(q, CP(" - не отображать").bytes));
}

std::vector<OptionDef> BuildTable() {
  std::vector<OptionDef> t;
  t.reserve(155);
  auto add = [&t](OptionDef def) { t.push_back(std::move(def)); };

  // System pages.
  add(OwnThree("sCheckBox_1_1", CP("Включить схему питания - (Домашний/Настольный)"),
               CP("Включить схему питания - (Включен постоянно)"),
               CP("Включить схему питания - (Портативный)")));
  add(Standard("sCheckBox_1_2", CP("Запрашивать пароль после выхода из \"Ждущего режима\"")));
  add(Standard("sCheckBox_1_3", CP("Запускать 16-битные программы в отдельных процессах")));
  add(OwnThree("sCheckBox_1_4",
               CP("Использовать для переключения раскладки клавиатуры - (Ctrl+Shift)"),
               CP("Использовать для переключения раскладки клавиатуры - (Alt+Shift)"),
               CP("Использовать для переключения раскладки клавиатуры - (Отключить)")));
  {
    OptionDef def = OwnThree("sCheckBox_1_5", CP("Ограничение анонимного доступа - (Полный)"),
                             CP("Ограничение анонимного доступа - (Доступ к файлам)"),
                             CP("Ограничение анонимного доступа - (Нет)"));
    def.hints = {
        std::string(
            CP("| Запрещает просматривать удаленно учетные записи и расшаренные ресурсы.").bytes),
        std::string(CP("| Запрет на любой неявный доступ к системе.").bytes),
        std::string(CP("| Стандартный доступ - разрешенные задания по умолчанию.").bytes)};
    add(def);
  }
  add(Standard("sCheckBox_1_6", CP("Отключить встроенный отладчик Dr. Watson")));
  add(Standard("sCheckBox_1_7", CP("Отключить проверку недостатка места на диске")));
  add(Standard("sCheckBox_1_8", CP("Очистка файла подкачки перед перезагрузкой системы")));
  add(Standard("sCheckBox_1_9", CP("Отключить восстановление системы")));
  add(Standard("sCheckBox_1_10", CP("Папка %WinDir%\\Temp  - для всех пользователей")));
  add(Standard("sCheckBox_1_11", CP("Подстановка шрифтов для правильного отображения кириллицы")));
  for (auto& def : t) def.stopsCountdown = true;  // exactly the eleven options above

  add(Standard("sCheckBox_2_1", CP("Быстрое переключение пользователей")));
  add(Standard("sCheckBox_2_2", CP("Включить NumLock при загрузке")));
  add(Standard("sCheckBox_2_3", CP("Использовать страницу приветствия")));
  add(Standard("sCheckBox_2_4",
               CP("Отключить счетчик непрочитанных сообщений в экране приветствия")));
  add(Standard("sCheckBox_2_5", CP("Отключить приглашение \"Знакомство с Windows\"")));
  add(Standard("sCheckBox_2_6", CP("Отключить уведомления \"Центра обеспечения безопасности\"")));
  add(Standard("sCheckBox_2_7", CP("Показывать имя последнего пользователя")));
  add(Standard("sCheckBox_2_8",
               CP("Показывать информацию о выполняемых процессах во время загрузки")));
  add(Standard("sCheckBox_2_9", CP("Отключить обработку Autoexec.bat")));
  add(Standard("sCheckBox_2_10", CP("Отключить слежение Windows XP за пользователями")));
  add(Standard("sCheckBox_2_11",
               CP("Отключить экранную заставку при входе в систему для всех пользователей")));
  add(Standard("sCheckBox_3_1", CP("Оптимизировать работу системного кэша")));
  add(Standard("sCheckBox_3_2", CP("Оптимизировать системные файлы во время загрузки")));
  add(Standard("sCheckBox_3_3", CP("Отключить общие административные ресурсы")));
  add(Standard("sCheckBox_3_4", CP("Отключить файл подкачки для хранения ядра системы")));
  add(Standard("sCheckBox_3_5",
               CP("Отключить генерацию имен файлов в формате 8.3 (только для NTFS)")));
  add(Standard("sCheckBox_3_6",
               CP("Отключить запись последнего доступа к файлам (только для NTFS)")));
  add(Standard("sCheckBox_3_7", CP("Отключить простой общий доступ к файлам")));
  add(Standard(
      "sCheckBox_3_7b",
      CP("Отключить поиск в сети Интернет при открытии файла с неизвестными расширением")));
  add(Standard("sCheckBox_3_8",
               CP("Увеличить место для главной файловой таблицы (только для NTFS)")));
  add(Standard("sCheckBox_3_9", CP("Уменьшить фрагментируемость файлов")));
  add(Standard("sCheckBox_3_10", CP("Ускорение доступа к AVI-файлам")));
  add(Standard("sCheckBox_4_1", CP("Автоматически перезагрузить компьютер при отказе")));
  add(Standard("sCheckBox_4_2", CP("Записать событие в системный журнал")));
  add(Standard("sCheckBox_4_3", CP("Записать отладочную информацию (малый дамп ядра 64 Кб)")));
  add(Standard("sCheckBox_4_4", CP("Отправить административное оповещение")));
  add(Standard("sCheckBox_4_5", CP("Принудительный вызов \"Синего экрана смерти\"")));
  add(Standard("sCheckBox_4_6", CP("Автоматическое завершение зависших приложений")));
  add(Standard("sCheckBox_4_7", CP("Отсылать в Microsoft отчеты об ошибках")));
  add(Standard("sCheckBox_5_1", CP("Запретить MRT отправлять отчеты в Microsoft")));
  add(Standard("sCheckBox_5_2", CP("Запретить искать драйвера на Windows Update"), " "));
  add(Standard("sCheckBox_5_3", CP("Отключить счетчик ввода-вывода")));
  add(Standard("sCheckBox_5_4", CP("Отключить не используемую подсистемы POSIX")));
  add(Standard("sCheckBox_5_5", CP("Ускорить работу оптического привода")));
  add(Standard("sCheckBox_5_6", CP("Ускорить работу с сетевыми дисками")));
  add(Standard("sCheckBox_5_7", CP("Увеличить приоритет CMOS памяти и часов реального времени")));
  add(Standard("sCheckBox_5_8", CP("Отключить удаленный рабочий стол")));
  add(Standard("sCheckBox_5_9", CP("Отключить экранную заставку")));
  add(Standard("sCheckBox_6_1", CP("Автоматически выгружать неиспользуемые DLL")));
  add(Standard("sCheckBox_6_2", CP("Быстрое редактирование в командной строке")));
  add(Standard("sCheckBox_6_4",
               CP("Включить дополнительные вкладки в свойствах видеокарт от NVidia")));
  add(Standard("sCheckBox_6_5", CP("Добавление необходимих команд в меню \"Выполнить\"")));
  add(OwnThree("sCheckBox_6_6", CP("Корзина использует максимум - (50% от доступного на диске)"),
               CP("Корзина использует минимум - (3% от доступного на диске)"),
               CP("Стандартный объем корзины - (10% от доступного на диске)")));
  add(Standard("sCheckBox_6_7", CP("Отображать скрытые устройства")));
  add(Standard("sCheckBox_6_8",
               CP("Поддержка русской кодировки (кодовую страницу 1251 вместо ...1255)")));
  add(Standard("sCheckBox_6_9", CP("Убрать залипание клавиш")));
  add(Standard("sCheckBox_6_10", CP("Кнопка \"Спящий режим\" в диалог выхода")));
  add(Standard("sCheckBox_6_11", CP("Установить зеленый текст в консоли")));
  add(Standard("sCheckBox_6_12", CP("Установить перенос слов в блокноте")));
  add(Standard("sCheckBox_6_13", CP("Убрать анимированного помощника по поиску")));
  add(Standard("sCheckBox_6_14", CP("Отключить защиту системных файлов (SFC)")));

  // Explorer pages.
  add(Standard("pCheckBox_1_1", CP("Автоматически перезапускать \"Проводник\" при ошибках")));
  add(Standard("pCheckBox_1_2", CP("Автоматическое восстановление окон, папок при загрузке")));
  add(Standard("pCheckBox_1_3", CP("Включить \"Панель быстрого запуска\"")));
  add(Standard("pCheckBox_1_4", CP("Запретить кэширование изображений (thumbnails)")));
  add(Standard("pCheckBox_1_5", CP("Запускать окна \"Проводника\" в отдельном процессе")));
  add(Standard("pCheckBox_1_6", CP("Корректное открытие CHM-файлов с сетевых дисков")));
  add(Standard("pCheckBox_1_7", CP("Отключить \"Ярлык для...\" при создании ярлыков")));
  add(Standard("pCheckBox_1_8", CP("Отключить \"Мастер очистки рабочего стола\"")));
  add(Standard("pCheckBox_1_9", CP("Отключить автозапись состояния окон \"Проводника\"")));
  add(Standard("pCheckBox_1_10", CP("Удалить стрелки у ярлыков")));
  add(Standard("pCheckBox_1_11", CP("Ускорить перерисовку иконок")));
  add(Standard("pCheckBox_2_1",
               CP("Добавить в контекстное меню пункты \"Копировать\" и \"Переместить\""), " "));
  add(Standard("pCheckBox_2_2", CP("Добавить в контекстное меню пункт \"Отправить\"")));
  add(Standard("pCheckBox_2_3", CP("Добавить в контекстное меню пункт \"Панель управления\"")));
  add(Standard("pCheckBox_2_4", CP("Добавить в контекстное меню пункт \"Диспетчер устройств\"")));
  add(Standard("pCheckBox_2_5", CP("Добавить \"Общие документы\" в \"Мой компьютер\"")));
  add(Standard("pCheckBox_2_6", CP("Включить группировку сходных кнопок в \"Панели задач\"")));
  add(Standard("pCheckBox_2_7", CP("Включить закрепление \"Панели задач\"")));
  add(Standard("pCheckBox_2_8", CP("Отключить все уведомления (всплывающие подсказки)")));
  add(Standard("pCheckBox_2_9", CP("Скрывать иконки в трее")));
  add(Standard("pCheckBox_2_10", CP("Поместить ярлык \"Сканеры и камеры\" на рабочий стол")));
  add(Standard("pCheckBox_2_11",
               CP("Сортировать меню \"Пуск\" и \"Избранное\" в алфавитном порядке")));
  add(Standard("pCheckBox_2_12", CP("Убрать задержки при раскрытии списков меню")));
  add(Standard("pCheckBox_2_13", CP("Увеличение частоты мерцания курсора")));
  add(Standard("pCheckBox_3_1", CP("Выделять недавно установленные программы")));
  add(Standard("pCheckBox_3_2", CP("Имя пользователя в меню \"Пуск\"")));
  add(Standard("pCheckBox_3_3", CP("Использовать прокрутку для меню \"Программы\"")));
  add(Standard("pCheckBox_3_4", CP("Показывать команду \"Найти\"")));
  add(Standard("pCheckBox_3_5", CP("Показывать скрытые файлы и папки")));
  add(Standard("pCheckBox_3_6", CP("Показывать команду \"Выход\"")));
  add(Standard("pCheckBox_3_7", CP("Показывать команду \"Выполнить\"")));
  add(Standard("pCheckBox_3_8", CP("Показывать пункт меню \"Справка и поддержка\"")));
  add(Standard("pCheckBox_3_9", CP("Показывать пункт меню \"Программы по умолчанию\"")));
  add(Standard("pCheckBox_3_10", CP("Показывать общие ярлыки (All Users)")));
  add(Standard("pCheckBox_3_11", CP("Разрешить перетаскивание объектов в меню")));
  add(TwoWay("pCheckBox_3_12", CP("Размер значков в меню - (Большие)"),
             CP("Размер значков в меню - (Маленькие)")));
  add(Standard("pCheckBox_3_13", CP("Раскрывать меню при наведении и задержки указателя")));
  add(StartItem("pCheckBox_4_1", CP("Администрирование")));
  add(StartItem("pCheckBox_4_2", CP("Избранное")));
  add(StartItem("pCheckBox_4_3", CP("Мой компьютер")));
  add(StartItem("pCheckBox_4_4", CP("Моя музыка")));
  add(StartItem("pCheckBox_4_5", CP("Мои рисунки")));
  add(StartItem("pCheckBox_4_6", CP("Мои документы")));
  add(StartItem("pCheckBox_4_7", CP("Недавние документы")));
  add(StartItem("pCheckBox_4_8", CP("Панель управления")));
  add(StartItemTwoWay("pCheckBox_4_9", CP("Принтеры и факсы")));
  add(StartItemTwoWay("pCheckBox_4_10", CP("Сетевое окружение")));
  add(StartItem("pCheckBox_4_11", CP("Сетевые подключения")));
  add(Standard("pCheckBox_4_12", CP("Отключить использование типичных задач для папок")));
  add(Standard("pCheckBox_4_13", CP("Отключить эффект для меню и подсказок")));
  add(Standard("pCheckBox_5_1", CP("Отключение анимации окон при свертывании и развертывании")));
  add(Standard("pCheckBox_5_2", CP("Отключение гладкого прокручивания списков")));
  add(Standard("pCheckBox_5_3", CP("Отключение отображения тени под указателем мыши")));
  add(Standard("pCheckBox_5_4", CP("Отключение отображения содержимого окна при перетаскивании")));
  add(Standard("pCheckBox_5_5", CP("Отключение отображения теней, отбрасываемых меню")));
  add(Standard("pCheckBox_5_6", CP("Отключение скольжения при раскрытии списков")));
  add(Standard("pCheckBox_5_7",
               CP("Отключить отображение прозрачного прямоугольника при выделении")));
  add(Standard("pCheckBox_5_8", CP("Отключение отбрасывания теней значками на рабочем столе")));
  add(Standard("pCheckBox_5_9",
               CP("Отключение отображения фоновых рисунков для различных типов папок")));
  add(Standard("pCheckBox_5_10",
               CP("Отключить эффекты затухания или скольжения при обращении к меню")));
  add(Standard("pCheckBox_5_11", CP("Отключить затухание меню после вызова команды")));
  add(Standard("pCheckBox_5_12", CP("Отключение скольжения кнопок панели задач")));
  add(Standard("pCheckBox_5_13", CP("Отключить использование стилей для окон и кнопок")));
  add(Standard("pCheckBox_5_14",
               CP("Отключить эффекты затухания или скольжения при появлении подсказок")));

  // Internet Explorer page.
  add(Standard("iCheckBox_2_1", CP("Включить строку состояния в папках")));
  add(Standard("iCheckBox_2_2", CP("Включить автозаполнение форм в IE")));
  add(Standard("iCheckBox_2_3", CP("Включить запрос на сохранение пароля в IE")));
  add(Standard("iCheckBox_2_4",
               CP("Выключить блокировку зоны безопасности локального компьютера в IE")));
  add(Standard("iCheckBox_2_5", CP("Отключить отладку сценариев (другие) в IE")));
  add(Standard("iCheckBox_2_6", CP("Отключить отправку отчетов об ошибках IE")));
  add(Standard("iCheckBox_2_7",
               CP("Отключение Internet Connection Wizard (при первом запуске IE6)")));
  add(Standard("iCheckBox_2_8",
               CP("Отключить сообщение о возможности использования автозаполнения"), "",
               CP(" - (Пропутить)")));
  add(Standard("iCheckBox_2_9", CP("Отключить отладку сценариев в IE")));
  add(Standard("iCheckBox_2_10",
               CP("Отключить уведомление о начале просмотра через безопасное соединение")));
  add(Standard(
      "iCheckBox_2_11",
      CP("Отключить предупреждение \"Информация переданная..., может стать доступной ...\"")));
  add(Standard("iCheckBox_2_12",
               CP("Предотвратить повторное использование окна Internet Explorer")));
  add(Standard("iCheckBox_2_13",
               CP("Увеличить число одновременных закачек в IE до 10 (по умолчанию 2)")));
  add(Standard("iCheckBox_2_14", CP("Уменьшить кэш IE до 10 MB")));
  add(Standard("iCheckBox_2_15", CP("Удаление Alexa Spyware")));

  // Media player page.
  add(Standard("mCheckBox_1_1", CP("Активировать DVD-возможности")));
  add(Standard("mCheckBox_1_2", CP("Выводить лицензионное соглашение Windows Media Player")));
  add(Standard("mCheckBox_1_3", CP("Отправлять отчеты о работе Windows Media Player в Microsoft")));
  add(Standard("mCheckBox_1_4", CP("Использовать Windows Media Player в on-line справочниках")));
  add(Standard("mCheckBox_1_5", CP("Создавать ярлык Windows Media Player на Рабочем столе")));
  add(Standard("mCheckBox_1_6",
               CP("Создавать ярлык Windows Media Player на панели Быстрого запуска")));
  add(Standard("mCheckBox_1_7", CP("Добавлять автоматически файлы мультимедиа в библиотеку")));
  add(Standard("mCheckBox_1_8",
               CP("Отключить идентификацию Windows Media Player на интернет-сайтах")));
  add(Standard("mCheckBox_1_9",
               CP("Отключить автоматическое скачивание кодеков Windows Media Player")));
  add(Standard("mCheckBox_1_10", CP("Отключить обновление Windows Media Player через Интернет")));
  add(Standard("mCheckBox_1_11", CP("Отключить заставку на время воспроизведения")));
  add(Standard("mCheckBox_1_12", CP("Первый запуск выполнен")));

  // Services page.
  {
    OptionDef def = OwnThree("srCheckBox_1_1", CP("Из файла настроек"), CP("Оптимальная"),
                             CP("Стандартная конфигурация"));
    def.role = OptionRole::kServicesPreset;
    add(def);
  }
  {
    OptionDef def;
    def.name = "RzCheckBox1";
    def.role = OptionRole::kNoHandler;
    add(def);
  }
  return t;
}

#undef CP

const std::unordered_map<std::string_view, int>& NameIndex() {
  static const std::unordered_map<std::string_view, int> index = [] {
    std::unordered_map<std::string_view, int> m;
    const auto& defs = OptionDefs();
    m.reserve(defs.size());
    for (std::size_t i = 0; i < defs.size(); ++i) m.emplace(defs[i].name, static_cast<int>(i));
    return m;
  }();
  return index;
}

}  // namespace

const std::vector<OptionDef>& OptionDefs() {
  // Built once and never taken apart: a run ends without freeing it.
  static const std::vector<OptionDef>& table = *new std::vector<OptionDef>(BuildTable());
  return table;
}

int FindOption(std::string_view name) {
  const auto& index = NameIndex();
  const auto it = index.find(name);
  return it == index.end() ? -1 : it->second;
}

int OptionIndex(std::string_view name) {
  const int i = FindOption(name);
  if (i < 0) throw std::logic_error("unknown option " + std::string(name));
  return i;
}

}  // namespace kwetro
