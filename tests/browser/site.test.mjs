// The cross-reference site in a real browser: a small project is written as a site by the built
// parvex-list, then opened from file:// (and once from a local web server) in Debian's Chromium.
// Screenshots of every kind of page go to PARVEX_SHOT_DIR for a person to look at.
import { test, before, after } from "node:test";
import assert from "node:assert/strict";
import { execFileSync, spawnSync } from "node:child_process";
import fs from "node:fs";
import http from "node:http";
import os from "node:os";
import path from "node:path";
import { pathToFileURL } from "node:url";
import { launch } from "./browser.mjs";

const LIST = process.env.PARVEX_LIST;
const SHOTS = process.env.PARVEX_SHOT_DIR || path.join(os.tmpdir(), "parvex-site-shots");

// A token in three spellings (Counter, counter, COUNTER), an include file, routines with their
// ENDs, a name that needs escaping and text that would be markup if a page took it as such.
const WEIRD = "we ird #1 %41 <b> 'q\".pas";
const FILES = {
  "main.pas": [
    "program Main;",
    "{$mode objfpc}",
    "uses Helper;",
    "var Counter: Integer;",
    "",
    "procedure Show(const S: string);",
    "begin",
    "  WriteLn('Value: ', S); // say it",
    "end;",
    "",
    "begin",
    "  Counter := 42;",
    "  counter := COUNTER + 1;",
    "  Show('done');",
    "  Show(IntToStr(Twice(Counter)));",
    "end.",
  ],
  "sub/helper.pas": [
    "unit Helper;",
    "interface",
    "function Twice(X: Integer): Integer;",
    "implementation",
    "{$I common.inc}",
    "var counter: Integer;",
    "function Twice(X: Integer): Integer;",
    "  (* doubles X,",
    "     nothing else *)",
    "begin",
    "  Result := X * 2 + Limit + counter;",
    "end;",
    "end.",
  ],
  "sub/common.inc": ["const Limit = 42; { a limit }"],
  ["sub/" + WEIRD]: [
    "unit Weird;",
    "{ </script><img src=x onerror=\"document.title='owned'\"> }",
    "const Tag = '<img src=x onerror=alert(1)>';",
    "var Counter: Integer;",
    "implementation",
    "end.",
  ],
};

let work, site, ctx, server, serverUrl;
const requests = [];
const blocked = new Set(); // asked for, but refused by the browser before it left
const served = []; // what the server was asked for, by host name and path

before(async () => {
  assert.ok(LIST, "PARVEX_LIST names the built parvex-list");
  work = fs.mkdtempSync(path.join(os.tmpdir(), "parvex-site-test-"));
  const proj = path.join(work, "proj");
  for (const [name, lines] of Object.entries(FILES)) {
    fs.mkdirSync(path.dirname(path.join(proj, name)), { recursive: true });
    fs.writeFileSync(path.join(proj, name), lines.join("\r\n") + "\r\n");
  }
  // A name in Latin-1, not UTF-8: "caf\xe9.pas".
  fs.writeFileSync(Buffer.concat([Buffer.from(proj + "/caf"), Buffer.from([0xe9]), Buffer.from(".pas")]),
    "unit Cafe;\r\nvar Counter: Integer;\r\nend.\r\n");
  site = path.join(work, "site");
  const run = spawnSync(LIST, ["--quiet", "--html", site, proj], { encoding: "utf8" });
  assert.equal(run.status, 0, run.stderr);
  fs.mkdirSync(SHOTS, { recursive: true });
  ctx = await launch();
  ctx.on("request", (r) => requests.push(r.url()));
  ctx.on("requestfailed", (r) => { if (/^csp$|BLOCKED_BY_CSP/i.test(r.failure()?.errorText ?? "")) blocked.add(r.url()); });
  // A plain static web server on the loopback address for the same folder.
  server = http.createServer((req, res) => {
    const rel = decodeURIComponent(new URL(req.url, "http://x").pathname);
    served.push(req.headers.host + rel);
    const file = path.join(site, rel);
    if (!file.startsWith(site) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) {
      res.writeHead(404);
      res.end();
      return;
    }
    const type = file.endsWith(".html") ? "text/html; charset=utf-8" : file.endsWith(".css") ? "text/css"
      : file.endsWith(".svg") ? "image/svg+xml" : "text/javascript; charset=utf-8";
    res.writeHead(200, { "content-type": type });
    res.end(fs.readFileSync(file));
  });
  await new Promise((r) => server.listen(0, "127.0.0.1", r));
  serverUrl = "http://127.0.0.1:" + server.address().port + "/";
});

after(async () => {
  if (ctx) await ctx.close();
  if (server) server.close();
  if (work) fs.rmSync(work, { recursive: true, force: true });
});

const fileUrl = (rel) => pathToFileURL(path.join(site, rel)).href;
async function open(rel, { base, width = 1280, dark = false } = {}) {
  const page = await ctx.newPage();
  await page.setViewportSize({ width, height: 800 });
  await page.emulateMedia({ colorScheme: dark ? "dark" : "light" });
  const errors = [];
  page.on("pageerror", (e) => errors.push(String(e)));
  // Chromium reports a blocked script or style (the pages' security policy) and a file it
  // could not load on the console.
  page.on("console", (m) => { if (m.type() === "error") errors.push("console: " + m.text()); });
  page.on("dialog", (d) => { errors.push("dialog: " + d.message()); d.dismiss(); });
  page.errors = errors;
  await page.goto(base ? base + rel.split("/").map(encodeURIComponent).join("/") : fileUrl(rel));
  await page.waitForSelector("body[data-ready]");
  assert.equal(await page.getAttribute("body", "data-ready"), "1", "the page loaded its data");
  return page;
}
// Every page ends without an error of its own or on the console.
async function done(page) {
  assert.deepEqual(page.errors, [], page.url());
  await page.close();
}
async function shot(page, name) {
  await page.screenshot({ path: path.join(SHOTS, name + ".png") });
}
async function panelFiles(page) {
  await page.waitForSelector("#panel .g h3 a[href]");
  await page.waitForFunction(() => !document.querySelector("#panel .more")?.textContent);
  return page.$$eval("#panel .g h3 a.file", (as) => as.map((a) => a.textContent));
}

test("a token shows its occurrences in every file, with its spellings", async () => {
  const page = await open("s/main.pas.html");
  await page.click("#L12 a.t >> text=Counter");
  const files = await panelFiles(page);
  assert.deepEqual(files.sort(), ["caf\u00e9.pas", "main.pas", "sub/helper.pas", "sub/" + WEIRD].sort());
  const spell = await page.textContent("#panel .spell");
  for (const s of ["Counter", "counter", "COUNTER"]) assert.match(spell, new RegExp("\\b" + s + "\\b"));
  // The page's own lines come first, each occurrence marked; other files show their lines.
  assert.equal(await page.textContent("#panel .g.own h3 a.file"), "main.pas");
  const ownLines = await page.$$eval("#panel .g.own li a.ln", (as) => as.map((a) => a.textContent));
  assert.deepEqual(ownLines, ["4", "12", "13", "15"]);
  await page.waitForSelector("#panel .g:not(.own) li .x .hit");
  const helper = await page.$$eval("#panel .g", (gs) =>
    gs.filter((g) => g.querySelector("h3 a").textContent === "sub/helper.pas")
      .map((g) => [...g.querySelectorAll("li")].map((li) => li.textContent)));
  assert.deepEqual(helper[0], ["6var counter: Integer;", "11  Result := X * 2 + Limit + counter;"]);
  await shot(page, "source-panel-wide-light");
  // Escape closes the panel.
  await page.keyboard.press("Escape");
  assert.equal(await page.isHidden("#panel"), true);
  await done(page);
});

test("literals and numbers open their occurrences too", async () => {
  const page = await open("s/sub/common.inc.html");
  await page.click("#L1 .n >> text=42");
  const files = await panelFiles(page);
  assert.deepEqual(files.sort(), ["main.pas", "sub/common.inc"]);
  await page.click("#L1 .c"); // a comment is no link: the panel stays as it is
  assert.equal(await page.textContent("#panel h2 .name"), "42");
  await done(page);
  const main = await open("s/main.pas.html");
  await main.click("#L14 .s");
  assert.deepEqual(await panelFiles(main), ["main.pas"]);
  assert.match(await main.textContent("#panel h2"), /literal 'done'/);
  await done(main);
});

test("a routine's heading and its END lead to each other", async () => {
  const page = await open("s/sub/helper.pas.html");
  // The heading of the interface part has no END: only the one with a body is paired.
  assert.equal(await page.$("#L3 .pair"), null);
  await page.click("#L7 .pair");
  await page.waitForFunction(() => location.hash === "#L12");
  assert.equal(await page.getAttribute("#L12", "class"), "l mark");
  await page.click("#L12 .pair");
  await page.waitForFunction(() => location.hash === "#L7");
  assert.match(await page.getAttribute("#L7", "class"), /mark/);
  // The outline lists the routine with its lines.
  assert.deepEqual(await page.$$eval("#outline li", (ls) => ls.map((l) => l.textContent)), ["Twice7\u201312"]);
  // Comments (over two lines), directives and literals are styled apart.
  assert.equal(await page.textContent("#L5 .d"), "{$I common.inc}");
  assert.equal(await page.textContent("#L9 .c"), "     nothing else *)");
  await done(page);
});

test("search finds routines, tokens and files by their beginning", async () => {
  const page = await open("index.html");
  await page.keyboard.press("/");
  assert.equal(await page.evaluate(() => document.activeElement.id), "q");
  await page.keyboard.type("twi");
  await page.waitForSelector("#results .res");
  const found = await page.$$eval("#results .res .nm", (xs) => xs.map((x) => x.textContent));
  assert.ok(found.includes("Twice"), found.join());
  await page.waitForFunction(() => [...document.querySelectorAll("#results .res")].some((a) => a.href.includes("#L7")));
  await shot(page, "index-search-wide-light");
  const routine = await page.$$("#results .res[href*='#L7']");
  await routine[0].click();
  await page.waitForURL(/helper\.pas\.html#L7$/);
  await page.waitForSelector("#L7.mark");
  // A token from the search opens its panel in place.
  await page.fill("#q", "coun");
  await page.waitForSelector("#results .res >> text=Counter");
  await page.keyboard.press("Enter");
  await page.waitForSelector("#panel .g");
  assert.match(await page.textContent("#panel .sum"), /9 occurrences in 4 files/);
  await done(page);
});

test("names that need escaping give working links and show as they are", async () => {
  const page = await open("index.html");
  const names = await page.$$eval(".tree a.name", (as) => as.map((a) => a.textContent));
  assert.ok(names.includes(WEIRD), names.join(" | "));
  assert.ok(names.includes("caf\u00e9.pas"), names.join(" | "));
  await page.click(`.tree a.name >> text="${WEIRD}"`);
  await page.waitForSelector("body[data-ready='1']");
  assert.equal(await page.textContent("h1.crumbs b"), WEIRD);
  // Text that looks like markup stays text: no element, no script ran.
  assert.equal(await page.$("main img"), null);
  assert.equal(await page.title(), WEIRD + " \u2014 proj");
  assert.equal(await page.textContent("#L3 .s"), "'<img src=x onerror=alert(1)>'");
  await page.click("#L3 .s");
  await page.waitForSelector("#panel .g");
  assert.equal(await page.$("#panel img"), null);
  await page.goBack();
  await page.click(".tree a.name >> text=caf\u00e9.pas");
  await page.waitForSelector("body[data-ready='1']");
  assert.match(await page.textContent("#L2"), /var Counter: Integer;/);
  await done(page);
});

test("the project's lists sort and filter", async () => {
  const page = await open("literals.html");
  await page.waitForSelector("tbody tr");
  const texts = async () => page.$$eval("tbody tr td:first-child", (t) => t.map((x) => x.textContent));
  assert.deepEqual(await texts(), ["'<img src=x onerror=alert(1)>'", "'done'", "'Value: '"].sort());
  await page.fill("#filter", "val");
  await page.waitForFunction(() => document.querySelectorAll("tbody tr").length === 1);
  assert.deepEqual(await texts(), ["'Value: '"]);
  await done(page);
  const tokens = await open("tokens.html");
  await tokens.click("th >> text=Count");
  await tokens.waitForFunction(() => document.querySelector("tbody tr td")?.textContent === "Counter");
  await tokens.click("tbody tr a.item");
  await tokens.waitForSelector("#panel .g");
  await shot(tokens, "tokens-list-wide-light");
  await done(tokens);
  const routines = await open("routines.html");
  await routines.waitForSelector("tbody tr a.item[href]");
  assert.deepEqual(await routines.$$eval("tbody tr td:first-child", (t) => t.map((x) => x.textContent)), ["Show", "Twice"]);
  await done(routines);
});

test("the site works from a static web server as from file://", async () => {
  const page = await open("s/main.pas.html", { base: serverUrl });
  await page.click("#L12 a.t >> text=Counter");
  assert.equal((await panelFiles(page)).length, 4);
  await done(page);
});

test("a page runs only the site's own scripts, from file:// and from a server", async () => {
  // Another origin than either: the same server under another name.
  const elsewhere = serverUrl.replace("127.0.0.1", "localhost") + "px/site.js";
  for (const base of [undefined, serverUrl]) {
    const page = await open("s/main.pas.html", { base });
    const ran = await page.evaluate(async (elsewhere) => {
      const ran = (window.ran = []);
      const inline = document.createElement("script");
      inline.textContent = "window.ran.push('inline script')";
      document.head.appendChild(inline);
      setTimeout("window.ran.push('text as code')", 0);
      await new Promise((done) => {
        const img = document.createElement("img");
        img.setAttribute("onerror", "window.ran.push('handler attribute')");
        for (const e of ["error", "load"]) img.addEventListener(e, () => setTimeout(done, 50));
        img.src = "nothing.png";
        document.body.appendChild(img);
      });
      await new Promise((done) => {
        const s = document.createElement("script");
        s.src = elsewhere;
        s.onload = () => { ran.push("script from elsewhere"); done(); };
        s.onerror = done;
        document.head.appendChild(s);
      });
      return ran;
    }, elsewhere);
    assert.deepEqual(ran, [], base || "file://");
    assert.deepEqual(served.filter((u) => u.startsWith("localhost")), []);
    // The page still works after what it refused, and said so on the console.
    assert.ok(page.errors.some((e) => /Content Security Policy/.test(e)), page.errors.join("\n"));
    page.errors.length = 0;
    await page.click("#L12 a.t >> text=Counter");
    assert.equal((await panelFiles(page)).length, 4);
    await done(page);
  }
});

test("no page asks for anything outside the site", async () => {
  const inside = [pathToFileURL(site).href, serverUrl];
  const outside = requests.filter((u) => !inside.some((p) => u.startsWith(p)) && !blocked.has(u));
  assert.deepEqual(outside, []);
  assert.ok(requests.length > 10);
});

test("screenshots of each kind of page, light and dark, narrow and wide", async () => {
  for (const dark of [false, true]) {
    for (const width of [640, 1280]) {
      const tag = (width === 640 ? "narrow" : "wide") + "-" + (dark ? "dark" : "light");
      for (const [rel, name] of [["index.html", "index"], ["s/sub/helper.pas.html", "source"], ["numbers.html", "numbers"]]) {
        const page = await open(rel, { width, dark });
        if (name === "source") {
          await page.click("#L11 a.t >> text=counter");
          await page.waitForSelector("#panel .g li .x .hit");
        }
        if (name === "numbers") await page.waitForSelector("tbody tr");
        await shot(page, name + "-" + tag);
        await done(page);
      }
    }
  }
});
