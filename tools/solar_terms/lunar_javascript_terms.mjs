// Prints the 24 solar-term moments of every Gregorian year 1901-2049 as
// lunar-javascript (MIT, an independent implementation) computes them, in
// Beijing time to the second: the second source that
// tests/calendar/astronomical_terms_test.cpp compares the table with.
//
//   mkdir -p /tmp/ljs && (cd /tmp/ljs && npm install lunar-javascript)
//   node tools/solar_terms/lunar_javascript_terms.mjs /tmp/ljs \
//       > tests/calendar/data/lunar_javascript_terms.tsv
import { createRequire } from 'node:module';
import path from 'node:path';

const installDir = process.argv[2] ?? process.cwd();
const require = createRequire(path.join(path.resolve(installDir), 'package.json'));
const { Lunar } = require('lunar-javascript');
const { version } = require('lunar-javascript/package.json');

const FIRST_YEAR = 1901;
const LAST_YEAR = 2049;

// The table names terms of the neighbouring years in pinyin.
const NAMES = [
  ['小寒', 'XIAO_HAN'], ['大寒', 'DA_HAN'], ['立春', 'LI_CHUN'], ['雨水', 'YU_SHUI'],
  ['惊蛰', 'JING_ZHE'], ['春分', 'CHUN_FEN'], ['清明', 'QING_MING'], ['谷雨', 'GU_YU'],
  ['立夏', 'LI_XIA'], ['小满', 'XIAO_MAN'], ['芒种', 'MANG_ZHONG'], ['夏至', 'XIA_ZHI'],
  ['小暑', 'XIAO_SHU'], ['大暑', 'DA_SHU'], ['立秋', 'LI_QIU'], ['处暑', 'CHU_SHU'],
  ['白露', 'BAI_LU'], ['秋分', 'QIU_FEN'], ['寒露', 'HAN_LU'], ['霜降', 'SHUANG_JIANG'],
  ['立冬', 'LI_DONG'], ['小雪', 'XIAO_XUE'], ['大雪', 'DA_XUE'], ['冬至', 'DONG_ZHI'],
];
const indexOf = new Map(NAMES.flatMap((pair, index) => pair.map((name) => [name, index])));

const moments = new Map();  // "year index" -> Beijing time
for (let lunarYear = FIRST_YEAR - 1; lunarYear <= LAST_YEAR + 1; ++lunarYear) {
  const table = Lunar.fromYmd(lunarYear, 1, 1).getJieQiTable();
  for (const [name, solar] of Object.entries(table)) {
    const index = indexOf.get(name);
    if (index === undefined) throw new Error(`unknown term name ${name}`);
    const year = solar.getYear();
    if (year < FIRST_YEAR || year > LAST_YEAR) continue;
    const key = `${year}\t${index}`;
    const moment = solar.toYmdHms();
    if (moments.has(key) && moments.get(key) !== moment) {
      throw new Error(`two moments for ${key}: ${moments.get(key)} and ${moment}`);
    }
    moments.set(key, moment);
  }
}

const lines = [`# lunar-javascript ${version}: year, term index (0 小寒 … 23 冬至), Beijing time (UTC+8)`];
for (let year = FIRST_YEAR; year <= LAST_YEAR; ++year) {
  for (let index = 0; index < 24; ++index) {
    const moment = moments.get(`${year}\t${index}`);
    if (moment === undefined) throw new Error(`no moment for term ${index} of ${year}`);
    lines.push(`${year}\t${index}\t${moment}`);
  }
}
process.stdout.write(lines.join('\n') + '\n');
